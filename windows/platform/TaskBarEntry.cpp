#include "TaskBarEntry.h"

#include "FocusRequester.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtEndian>

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

QByteArray property(
    xcb_connection_t *connection, xcb_window_t window, const char *name, xcb_atom_t type)
{
    const xcb_get_property_cookie_t cookie
        = xcb_get_property(connection, false, window, atom(connection, name), type, 0, 64);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    return reply ? QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
               xcb_get_property_value_length(reply.get()))
                 : QByteArray();
}

// The name the running window manager gives itself, empty where none says it.
QByteArray windowManagerName(xcb_connection_t *connection, xcb_window_t window)
{
    const std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr), &std::free);
    const QByteArray check = tree
        ? property(connection, tree->root, "_NET_SUPPORTING_WM_CHECK", XCB_ATOM_WINDOW)
        : QByteArray();
    if (check.size() != sizeof(xcb_window_t))
        return {};
    return property(connection, qFromUnaligned<xcb_window_t>(check.constData()), "_NET_WM_NAME",
        atom(connection, "UTF8_STRING"));
}

} // namespace

void keepOutOfTaskBar(QWidget *window)
{
    // The offscreen platform offers the X11 interface too, without a connection.
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !connection)
        return;
    new FocusRequester(window);
    // These window managers keep a window that is out of the task bar out of Alt+Tab too, and
    // Openbox never gives it the focus back when a window over it closes: a keyboard user could
    // not reach it, so there it stays in the task bar.
    const QByteArray manager = windowManagerName(connection, xcb_window_t(window->winId()));
    if (manager == "Openbox" || manager == "Metacity" || manager == "Xfwm4")
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
