#include "TaskBarEntry.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb) && defined(ZLOMKAR_HAVE_XCB)
#include <memory>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie
        = xcb_intern_atom(connection, false, uint16_t(qstrlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

void keepOutOfTaskBar(QWidget *window)
{
    // The offscreen platform offers the X11 interface too, without a connection.
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !connection)
        return;
    const xcb_atom_t skipTaskBar = atom(connection, "_NET_WM_STATE_SKIP_TASKBAR");
    // Before the window is mapped, its state is set directly; the window manager reads it then.
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, xcb_window_t(window->winId()),
        atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 1, &skipTaskBar);
    xcb_flush(connection);
}

#else

void keepOutOfTaskBar(QWidget *) { }

#endif
