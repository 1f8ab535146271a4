#!/bin/sh
# Under xvfb-run: the real program on an accessibility bus of its own, under a window manager; the
# session bus starts the accessibility bus when the test first asks for it.
# Usage: $0 TST_ATSPI PROGRAM
exec dbus-run-session -- sh -c 'openbox >/dev/null 2>&1 & ZLOMKAR_PROGRAM="$2" "$1" --bus' sh "$1" "$2"
