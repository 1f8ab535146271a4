#include "FixedSizeWindows.h"

#include <QGuiApplication>
#include <QPlatformSurfaceEvent>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>

#if defined(ZLOMKAR_HAVE_WAYLAND)
#include <qpa/qplatformnativeinterface.h>
#include <wayland-client-core.h>
#endif

namespace {

bool isFixedSize(const QWindow *window)
{
    return window->minimumSize() == window->maximumSize();
}

// The maximise box has asked the compositor already, but the request is still in the queue: asked
// back in the same message, it leaves the compositor nothing to answer.
void withdrawMaximised(QWindow *window)
{
#if defined(ZLOMKAR_HAVE_WAYLAND)
    constexpr uint32_t unsetMaximized = 10; // the number of the xdg_toplevel request
    if (auto *toplevel = static_cast<wl_proxy *>(
            QGuiApplication::platformNativeInterface()->nativeResourceForWindow(
                "xdg_toplevel", window)))
        wl_proxy_marshal_flags(
            toplevel, unsetMaximized, nullptr, wl_proxy_get_version(toplevel), 0);
#endif
    window->setWindowStates(Qt::WindowNoState);
}

// The compositor may still hold the last frame, which Qt does not give to a new surface: the
// window is painted again.
void remake(QWindow *window)
{
    window->handle()->setVisible(false);
    window->handle()->setVisible(true);
    if (QWidget *widget = QWidget::find(window->winId()))
        widget->update();
}

// The compositor takes back nothing it has given: the window's surface is made afresh, in the
// normal state.
void makeAfresh(QWindow *window)
{
    window->setWindowStates(Qt::WindowNoState);
    remake(window);
}

// xdg-shell has no request to leave the minimised state and no event that tells of it, and a
// modal window minimised would leave the program blocked for good. The new surface comes on top
// with the keys: a window blocked behind a modal one would take them from it, so the modal window
// is made again above it.
void showAgain(QWindow *window)
{
    makeAfresh(window);
    if (QWindow *modal = QGuiApplication::modalWindow(); modal && modal != window)
        remake(modal);
}

class NormalStateKeeper : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWindowType())
            return false;
        auto *window = static_cast<QWindow *>(watched);
        if (event->type() == QEvent::PlatformSurface
            && static_cast<QPlatformSurfaceEvent *>(event)->surfaceEventType()
                == QPlatformSurfaceEvent::SurfaceCreated) {
            connect(window, &QWindow::windowStateChanged, this, [window](Qt::WindowState state) {
                if (state == Qt::WindowMaximized && isFixedSize(window))
                    withdrawMaximised(window);
                else if (state == Qt::WindowMinimized)
                    showAgain(window);
            });
        } else if (event->type() == QEvent::WindowStateChange && isFixedSize(window)
            && (window->windowStates() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
            // A state the compositor gave by itself reaches the window acknowledged, and the
            // compositor would end the connection at the next frame.
            makeAfresh(window);
            return true;
        } else if (event->type() == QEvent::FocusOut && isFixedSize(window)
            && !QGuiApplication::focusWindow() && window->handle()
            && window->handle()->isActive()) {
            // Qt 6.4 may take the focus from a window made afresh after the compositor gave it
            // back, and then the window's shortcuts go dead: the focus follows the compositor.
            QWindowSystemInterface::handleWindowActivated(window);
        }
        return false;
    }
};

} // namespace

void keepFixedSizeWindowsNormal()
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qGuiApp->installEventFilter(new NormalStateKeeper(qGuiApp));
}
