#!/usr/bin/env bash
# Installs what is missing, builds Zlomkar and runs the whole test suite twice: in the plain build
# and in a build with AddressSanitizer and UndefinedBehaviorSanitizer. Fails on any failure.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_missing_packages "${packages[@]}"

build
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"

build "$sanitize_build_dir" -DZLOMKAR_SANITIZE=ON
LSAN_OPTIONS="suppressions=$repo_root/tests/sanitizers/lsan-suppressions.txt:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir "$sanitize_build_dir" --output-on-failure -j "$(nproc)"
