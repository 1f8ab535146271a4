// Under xvfb-run: what the window manager is told about both windows' frames. Prints each check
// and exits non-zero on a fault.
#include "Form1.h"
#include "Form2.h"

#include <QApplication>
#include <QTest>
#include <xcb/xcb.h>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Form1 main(",");
    Form2 about;
    main.show();
    about.show();
    if (!QTest::qWaitForWindowExposed(&main) || !QTest::qWaitForWindowExposed(&about))
        return 1;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    auto atom = [x11](const char *name) {
        auto *reply
            = xcb_intern_atom_reply(x11, xcb_intern_atom(x11, 0, strlen(name), name), nullptr);
        const uint32_t value = reply->atom;
        free(reply);
        return value;
    };
    auto property = [&](const QWidget &window, const char *name) {
        auto *reply = xcb_get_property_reply(x11,
            xcb_get_property(x11, 0, window.winId(), atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 64),
            nullptr);
        const auto *values = static_cast<const uint32_t *>(xcb_get_property_value(reply));
        const QList<uint32_t> list(values, values + xcb_get_property_value_length(reply) / 4);
        free(reply);
        return list;
    };
    int faults = 0;
    auto expect = [&faults](bool holds, const char *what) {
        std::printf("%s %s\n", holds ? "ok  " : "FAIL", what);
        faults += !holds;
    };
    for (const QWidget *window :
        { static_cast<QWidget *>(&main), static_cast<QWidget *>(&about) }) {
        // The minimum size at 5 and 6, the maximum at 7 and 8; minimise and maximise are 0x60.
        const QList<uint32_t> size = property(*window, "WM_NORMAL_HINTS");
        expect(
            size.size() >= 9 && size[5] == size[7] && size[6] == size[8] && size[5], "fixed size");
        const QList<uint32_t> motif = property(*window, "_MOTIF_WM_HINTS");
        expect(
            motif.size() >= 3 && (motif[0] & 2) && !(motif[2] & 0x60), "no minimise or maximise");
    }
    expect(property(main, "_NET_WM_STATE").contains(atom("_NET_WM_STATE_SKIP_TASKBAR")),
        "main window out of the task bar");
    expect(property(main, "_NET_WM_WINDOW_TYPE").contains(atom("_NET_WM_WINDOW_TYPE_NORMAL")),
        "main window is a normal window");
    expect(property(about, "_NET_WM_WINDOW_TYPE").contains(atom("_NET_WM_WINDOW_TYPE_UTILITY")),
        "About window is a utility window");
    return faults;
}
