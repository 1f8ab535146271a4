#!/bin/sh
# Under xvfb-run: Weston's maximise and full-screen requests leave the main and About windows
# their size and the program running. Usage: $0 PROGRAM
cd "$XDG_RUNTIME_DIR" || exit 1
# Without a panel, an output smaller than the windows puts each at its top left; the About
# window's maximise box at 282 is beside the main window's title bar buttons.
printf '[shell]\npanel-position=none\n' >ini
weston -c "$PWD/ini" -B x11-backend.so --use-pixman --width=316 --height=160 -S w >/dev/null 2>&1 &
weston=$!
until [ -S w ]; do sleep 0.1; done
: >log
WAYLAND_DISPLAY=w WAYLAND_DEBUG=1 "$1" -platform wayland 2>log &
# step TEXT COMMAND...: runs COMMAND until the protocol log has one TEXT more, or a fatal error.
step() {
    n=$(grep -c "$1" log) t=$1
    shift
    until [ "$(grep -c "$t" log)" -gt "$n" ] || grep -q fatal log; do "$@"; sleep 0.2; done
}
# The maximise box at $1, a double click on the title, Weston's maximise and full-screen keys.
requests() {
    step set_maximized xdotool mousemove "$1" 15 click 1
    step 'move(' xdotool mousemove 150 15 click --repeat 2 1
    step 'configure(316' xdotool key super+shift+m
    step 'configure(316' xdotool key super+shift+f
}
requests 294
step 'O programu' xdotool key F1
requests 282
kill $! $weston
wait $!
status=$?
# Ended by the kill, and never as wide as the output.
! grep 'fatal\|geometry(0, 0, 316' log && [ $status = 143 ]
