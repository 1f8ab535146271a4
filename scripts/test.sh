#!/usr/bin/env bash
# Installs what is missing, builds Zlomkar and runs the whole test suite twice: in the plain build
# and in a build with AddressSanitizer and UndefinedBehaviorSanitizer. Run as root, as CI runs it,
# the plain build's suite runs once more as an unprivileged user. Fails on any failure.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_missing_packages "${packages[@]}"

build
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"

# Nothing in the suite may rest on root's rights. The user may read the build wherever root put it
# (CAP_DAC_READ_SEARCH alone, which grants no writing) and writes only CTest's log in it.
if [ "$(id -u)" -eq 0 ]; then
    user_home=$(mktemp -d)
    mkdir -p "$build_dir/Testing/Temporary"
    chown -R nobody "$user_home" "$build_dir/Testing"
    setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
        --inh-caps=+dac_read_search --ambient-caps=+dac_read_search \
        env HOME="$user_home" ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
    rm -rf "$user_home"
fi

build "$sanitize_build_dir" -DZLOMKAR_SANITIZE=ON
LSAN_OPTIONS="suppressions=$repo_root/tests/sanitizers/lsan-suppressions.txt:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir "$sanitize_build_dir" --output-on-failure -j "$(nproc)"
