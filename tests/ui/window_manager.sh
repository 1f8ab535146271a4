#!/bin/sh
# Under xvfb-run: what the window manager is told about both windows' frames. Usage: $0 TST_UI
"$1" -platform xcb --show-windows &
trap 'kill $!' EXIT
fail() { echo "FAIL: $*"; failed=1; }
# A fixed size, and no minimise or maximise button: 0x20 and 0x40 in the third Motif field.
frame() {
    until props=$(xprop -name "$1" 2>/dev/null) && echo "$props" | grep -q "maximum size"; do
        sleep 0.1
    done
    [ "$(echo "$props" | sed -n 's/.*minimum size: //p')" = "$(echo "$props" | sed -n 's/.*maximum size: //p')" ] \
        || fail "$1 can be resized"
    motif=$(echo "$props" | sed -n 's/^_MOTIF_WM_HINTS.* = [^,]*, [^,]*, \([^,]*\),.*/\1/p')
    [ $((motif & 0x60)) -eq 0 ] || fail "$1 can be minimised or maximised"
}
frame Zlomkar
echo "$props" | grep -q "_NET_WM_STATE(ATOM) = .*_SKIP_TASKBAR" || fail "in the task bar"
echo "$props" | grep -q "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL" || fail "not normal"
frame "O programu"
echo "$props" | grep -q "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_UTILITY" || fail "not a utility"
[ -z "$failed" ]
