#!/bin/sh
# Under xvfb-run: what window manager WM keeps of the program's frames, where keys go.
# Usage: $0 TST_WINDOWS WM PROGRAM
# xfwm4 reads its settings over D-Bus.
dbus-run-session "$2" >/dev/null 2>&1 &
# Openbox loses a window shown before its desktops exist.
until ! xprop -root _NET_NUMBER_OF_DESKTOPS _NET_SUPPORTED | grep -q "found\|such"; do sleep 0.1; done
# Under a file size limit that no write of the program fits.
sh -c 'ulimit -f 0; exec "$0" -platform xcb' "$3" &
fail() { echo "FAIL: $*"; failed=1; }
# Fixed size, no minimise or maximise button (0x20, 0x40 of Motif field 3), window type $2.
frame() {
    until props=$(xprop -name "$1" 2>/dev/null) && echo "$props" | grep -q "window state"; do sleep 0.1; done
    [ "$(echo "$props" | sed -n 's/.*minimum size: //p')" = "$(echo "$props" | sed -n 's/.*maximum size: //p')" ] \
        || fail "$1 can be resized"
    motif=$(echo "$props" | sed -n 's/^_MOTIF_WM_HINTS.* = [^,]*, [^,]*, \([^,]*\),.*/\1/p')
    [ $((motif & 0x60)) -eq 0 ] || fail "$1 can be minimised or maximised"
    echo "$props" | grep -q "_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_$2" || fail "$1 not $2"
}
frame Zlomkar NORMAL
xdotool key F1
frame "O programu" UTILITY
xdotool key Escape
on() { for i in $(seq 50); do [ $(xdotool getwindowfocus) = $1 ] && return; sleep 0.1; done; false; }
p=$! a=$(xdotool search --all --pid $! --name ^Zlomkar$)
"$3" -platform xcb &
b=$(xdotool search --sync --all --pid $! --name ^Zlomkar$)
on $b && xdotool key alt+Tab && on $a || fail Alt+Tab
xdotool key alt+Tab && on $b && xdotool key ctrl+q && on $a || fail "focus after Ctrl+Q"
shown() { for i in $(seq 50); do xdotool search --onlyvisible --name "$1" >&2 && return; sleep 0.1; done; false; }
xdotool key ctrl+s && shown "Uložit jako" && xdotool key Escape && on $a && xdotool key F1 \
    && shown "O programu" || fail "size limit"
kill $p
keys=$("$1" -platform xcb --focus-probe)
[ "$keys" = 11111 ] || fail "keys: $keys"
[ -z "$failed" ]
