#pragma once

#include <QString>
#include <QStringList>

// What the notice's value makes of the About window: its status line Label15, and the state that
// the program-page link Label6 reads.
struct UpdateOutcome
{
    QString statusCaption;
    bool statusEnabled = false;
    bool UpdateFailed = true;
    QStringList UpdateFields;
};

// A usable value, one of at least three fields that does not begin with "error", shows field 0 on
// the status line, enabled when field 2 begins with "1"; any other value shows message 119 and sets
// UpdateFailed.
UpdateOutcome applyNotice(const QString &UpdateText);
