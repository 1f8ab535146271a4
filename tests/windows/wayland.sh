#!/bin/sh
# Under xvfb-run: Weston's maximise and full-screen requests leave the main and About windows
# their size; minimised, each shows again and takes keys. Usage: $0 PROGRAM
cd "$XDG_RUNTIME_DIR" || exit 1
# Without a panel or an on-screen keyboard, an output smaller than the windows puts each at its
# top left, the About window's boxes at 255 and 282 beside the main window's.
printf '[shell]\npanel-position=none\n[input-method]\npath=\n' >ini
weston -c "$PWD/ini" -B x11-backend.so --use-pixman --width=316 --height=160 -S w >/dev/null 2>&1 &
weston=$!
trap 'kill $weston $program' EXIT
# poll TEST: until TEST holds; fails the test after 50 tries or on a fatal error.
poll() {
    i=0
    until eval "$1"; do
        grep -qs fatal log || [ $((i += 1)) -gt 50 ] && echo "not reached: $1" && exit 1
        sleep 0.2
    done
}
poll '[ -S w ]'
: >log
WAYLAND_DISPLAY=w WAYLAND_DEBUG=1 "$1" -platform wayland 2>log &
program=$!
# step TEXT ACTION: the xdotool ACTION until the protocol log has one TEXT more.
step() { poll "[ \$(grep -c '$1' log) -gt $(grep -c "$1" log) ] || { xdotool $2; false; }"; }
# The maximise box at $1, a double click on the title, Weston's maximise and full-screen keys;
# the minimise box at $2, then a new toplevel that takes the keys.
requests() {
    step set_maximized "mousemove $1 15 click 1"
    step 'move(' 'mousemove 150 15 click --repeat 2 1'
    step 'configure(316' 'key super+shift+m'
    step 'configure(316' 'key super+shift+f'
    step set_minimized "mousemove $2 15 click 1"
    poll "tac log | sed /set_minimized/q | grep -zq 'keyboard@[0-9]*.enter.*get_toplevel'"
}
requests 294 270
step 'O programu' 'key F1'
requests 282 255
step 'toplevel@.*destroy' 'key Escape'
# Ctrl+Q ends the program by itself, and no window was ever as wide as the output.
poll "! kill -0 $program 2>/dev/null || grep -qs ') Z' /proc/$program/stat || { xdotool key ctrl+q; false; }"
wait $program
[ $? = 0 ] && ! grep 'fatal\|geometry(0, 0, 316' log
