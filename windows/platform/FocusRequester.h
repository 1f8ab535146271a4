#pragma once

#include <QObject>
#include <QTimer>

class QWidget;

// Asks for the keyboard focus for `window` whenever it is shown and whenever a modal window
// closes. Openbox, for one, does not always focus the main window by itself: not when it is first
// shown out of the task bar, nor when a modal window over it closes, as a replace question over
// the Save As dialog does.
class FocusRequester : public QObject
{
    Q_OBJECT

public:
    explicit FocusRequester(QWidget *window);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QTimer m_request;
};
