#!/usr/bin/env bash
# Installs what is missing, builds Zlomkar and starts it.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_missing_packages "${packages[@]}"
build

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "Zlomkar is built ($build_dir/app/zlomkar) but there is no display to show it on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
    exit 1
fi
exec "$build_dir/app/zlomkar"
