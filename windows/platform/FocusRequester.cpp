#include "FocusRequester.h"

#include <QApplication>
#include <QWidget>

FocusRequester::FocusRequester(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    // From the event loop: by then a closed modal window is gone, or the next one already open.
    m_request.setSingleShot(true);
    m_request.callOnTimeout(this, [this] {
        if (m_window->isVisible() && !QApplication::activeModalWidget())
            m_window->activateWindow();
    });
    qApp->installEventFilter(this);
}

bool FocusRequester::eventFilter(QObject *watched, QEvent *event)
{
    const bool modalClosed = event->type() == QEvent::Hide && !event->spontaneous()
        && watched->isWidgetType() && static_cast<QWidget *>(watched)->isModal();
    if ((event->type() == QEvent::Show && watched == m_window) || modalClosed)
        m_request.start(0);
    return false;
}
