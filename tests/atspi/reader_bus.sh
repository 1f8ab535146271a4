#!/bin/bash
# Under xvfb-run and dbus-run-session: the real program on an accessibility bus of its own, under a
# window manager, its screen scaled twice, called as any program on the bus may call it.
# Usage: $0 PROGRAM
openbox >/dev/null 2>&1 &
# poll TEST: until TEST holds, for at most 30 s.
poll() { for i in $(seq 150); do eval "$1" && return; sleep 0.2; done; echo "not reached: $1"; exit 1; }
# Openbox loses a window shown before its desktops exist.
poll '! xprop -root _NET_NUMBER_OF_DESKTOPS _NET_SUPPORTED | grep -q "found\|such"'
bus=$(gdbus call --session -d org.a11y.Bus -o /org/a11y/bus -m org.a11y.Bus.GetAddress | cut -d"'" -f2)
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_SCALE_FACTOR=2 "$1" -platform xcb &
program=$!
trap 'kill $program' EXIT
fail() { echo "FAIL: $*"; failed=1; }
# call PATH INTERFACE.METHOD ARGUMENTS...: the answer, or the name of the D-Bus error.
call() {
    local path=$1 method=$2
    shift 2
    timeout 5 gdbus call -a "$bus" -d "$name" -o "$path" -m "$method" -- "$@" 2>&1 |
        sed 's/.*org.freedesktop.DBus.Error.\([A-Za-z]*\).*/\1/' | head -1
}
# find PATH NAME: the first object at or below PATH with this accessible name.
find() {
    [ "$(call "$1" org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name)" = "(<'$2'>,)" ] &&
        echo "$1" && return
    for child in $(call "$1" org.a11y.atspi.Accessible.GetChildren | grep -o "/org/a11y/[^']*"); do
        find "$child" "$2" && return
    done
    false
}
text() { call "$box" org.a11y.atspi.Text."$@"; }
# Start is the main window's default button.
divide() {
    for field in "dělenec 1" "dělitel $1"; do
        [ "$(call "$(find $root ${field% *})" org.a11y.atspi.EditableText.SetTextContents \
            "${field#* }")" = "(true,)" ] || fail "${field% *} not set"
    done
    poll "xdotool search --onlyvisible --name '^Zlomkar$' windowfocus && active"
    xdotool key Return
}
# Keys reach the window once the program itself holds it active (bit 1 of its states).
active() { (($(call "$frame" org.a11y.atspi.Accessible.GetState | sed 's/[^0-9]*32 \([0-9]*\).*/\1/') & 2)); }
windows() { [ "$(xdotool search --onlyvisible --name '^Zlomkar$' | wc -l)" = "$1" ]; }
pid() { gdbus call -a "$bus" -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus."$@"; }
root=/org/a11y/atspi/accessible/root
poll 'for name in $(pid ListNames | grep -o ":[0-9.]*"); do [ "$(pid GetConnectionUnixProcessID $name)" = "(uint32 $program,)" ] && break; done && box=$(find $root výsledek)'
frame=$(find $root Zlomkar)

# 1 / 0 shows "Chybné zadání => dělení nulou" and a warning, which Enter closes.
divide 0 && poll 'windows 2' && xdotool key Return && poll 'windows 1'
# Calls that Qt's own bridge took as they came, and ended the program; it answers after them.
[ "$(call "$box" org.freedesktop.DBus.Properties.GetAll org.a11y.atspi.Text)" = NotSupported ] || fail GetAll
[ "$(text GetText)" = InvalidArgs ] || fail "text without its arguments"
[ "$(text GetTextAtOffset -1 1)" = InvalidArgs ] || fail "a word before the text"
[ "$(text GetText 0 2)" = "('Ch',)" ] || fail "no answer after them"
[ "$(text GetCharacterAtOffset 5)" = "(233,)" ] || fail "a letter outside ASCII"

# The window where the X server has it; a click where a reader is told a character stands puts the
# caret before it.
geometry=$(xwininfo -id "$(xdotool search --onlyvisible --name '^Zlomkar$')")
x11=$(echo "$geometry" | sed -n 's/^ *\(Absolute upper-left [XY]\|Width\|Height\): *//p' | tr '\n' ' ')
extents=$(call "$frame" org.a11y.atspi.Component.GetExtents 0 | tr -d '(),')
[ "$extents " = "$x11" ] || fail "window at $extents, X says $x11"
set -- $(text GetCharacterExtents 2 0 | tr -d '(),')
xdotool mousemove $(($1 + $3 / 4)) $(($2 + $4 / 2)) click 1
poll '[ "$(call "$box" org.freedesktop.DBus.Properties.Get org.a11y.atspi.Text CaretOffset)" = "(<2>,)" ]'
[ "$(text GetOffsetAtPoint $(($1 + $3 / 4)) $(($2 + $4 / 2)) 0)" = "(2,)" ] || fail "offset at the point"

# 1 / 7 to its hundred million digits: ranges to INT_MAX and to the end, and a word, answered.
divide 7
poll '[ "$(call "$box" org.freedesktop.DBus.Properties.Get org.a11y.atspi.Text CharacterCount)" = "(<100000002>,)" ]'
for call in "GetRangeExtents 0 2147483647 0" "GetRangeExtents 0 -1 0" "GetTextAtOffset 50000000 1"; do
    text $call | grep -q '^(' || fail "$call"
done
[ -z "$failed" ]
