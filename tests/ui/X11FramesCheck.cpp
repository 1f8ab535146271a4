// Shows both windows on an X server (run it under xvfb-run) and checks what the window manager is
// told about their frames: fixed size, no minimise or maximise button, the main window out of the
// task bar as a normal window, the About window as a utility window. Exits non-zero on a fault.
#include "Form1.h"
#include "Form2.h"

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace {

xcb_connection_t *connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_atom_t atom(const char *name)
{
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(connection(),
            xcb_intern_atom(connection(), false, uint16_t(qstrlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::vector<uint32_t> property(const QWidget &window, const char *name)
{
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection(),
            xcb_get_property(connection(), false, xcb_window_t(window.winId()), atom(name),
                XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
            nullptr),
        &std::free);
    if (!reply || reply->format != 32)
        return {};
    const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    return { values, values + xcb_get_property_value_length(reply.get()) / 4 };
}

bool contains(const std::vector<uint32_t> &values, uint32_t value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

int faults = 0;

void expect(bool condition, const char *what)
{
    std::printf("%s %s\n", condition ? "ok  " : "FAIL", what);
    faults += !condition;
}

void checkFixedFrame(const QWidget &window, const char *which)
{
    // WM_NORMAL_HINTS: flags, four obsolete fields, then minimum and maximum width and height.
    const std::vector<uint32_t> size = property(window, "WM_NORMAL_HINTS");
    expect(size.size() >= 9 && size[5] == size[7] && size[6] == size[8] && size[5] > 0,
        (QByteArray(which) + " has a fixed size").constData());
    // _MOTIF_WM_HINTS: flags, functions, decorations; 0x20 is minimise and 0x40 maximise.
    const std::vector<uint32_t> motif = property(window, "_MOTIF_WM_HINTS");
    expect(motif.size() >= 3 && (motif[0] & 0x2) && !(motif[2] & (0x20 | 0x40)),
        (QByteArray(which) + " has no minimise or maximise button").constData());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (!qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        std::printf("FAIL not running on X11\n");
        return 1;
    }
    Form1 main(QStringLiteral(","));
    main.show();
    AboutSetup offline = AboutSetup::forThisProgram();
    offline.noticeAddress = QStringLiteral("http://127.0.0.1:9/update.txt");
    Form2 about(offline);
    about.show();
    if (!QTest::qWaitForWindowExposed(&main) || !QTest::qWaitForWindowExposed(&about))
        return 1;

    checkFixedFrame(main, "main window");
    expect(contains(property(main, "_NET_WM_STATE"), atom("_NET_WM_STATE_SKIP_TASKBAR")),
        "main window asks to stay out of the task bar");
    expect(contains(property(main, "_NET_WM_WINDOW_TYPE"), atom("_NET_WM_WINDOW_TYPE_NORMAL")),
        "main window is a normal window");
    checkFixedFrame(about, "About window");
    expect(contains(property(about, "_NET_WM_WINDOW_TYPE"), atom("_NET_WM_WINDOW_TYPE_UTILITY")),
        "About window is a utility window");
    return faults == 0 ? 0 : 1;
}
