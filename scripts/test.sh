#!/usr/bin/env bash
# Installs what is missing, builds Zlomkar and runs the whole test suite; fails on any failure.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_missing_packages "${packages[@]}"
build
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
