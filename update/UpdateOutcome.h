#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the update check leaves for the About window: the status line Label15, the program-page
// link Label6, and the state that Label6 reads when it is clicked.
struct UpdateOutcome
{
    QString statusCaption;
    bool statusEnabled = false;
    // Label6's tooltip and target; empty keeps the fixed address the window was designed with.
    std::optional<QString> programPageAddress;
    bool UpdateFailed = false;
    QStringList UpdateFields;
};

// Applies the notice's value to `before`. A usable value, one of at least three fields that does
// not begin with "error", sets the status line and the program page from its fields; any other
// shows message 119, sets UpdateFailed and leaves the rest of `before` as it was.
UpdateOutcome applyNotice(const QString &UpdateText, UpdateOutcome before);
