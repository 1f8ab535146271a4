#!/usr/bin/env bash
# Installs what is missing, builds Zlomkar and runs the whole test suite twice: in the plain build
# and in a build with AddressSanitizer and UndefinedBehaviorSanitizer. Run as root, as CI runs it,
# the plain build's suite runs once more as an unprivileged user. Fails on any failure.
set -euo pipefail
source "$(dirname "$0")/lib.sh"

install_missing_packages "${packages[@]}"

build
ctest --test-dir "$build_dir" --output-on-failure --no-tests=error -j "$(nproc)"

# Nothing in the suite may rest on root's rights. The user builds and tests a copy of the sources in
# a folder of its own, as the sources may lie where only root can read them.
if [ "$(id -u)" -eq 0 ]; then
    user_home=$(mktemp -d)
    copy="$user_home/zlomkar"
    mkdir "$copy"
    git -C "$repo_root" ls-files -z --cached --others --exclude-standard |
        tar -C "$repo_root" --null -T - -c | tar -C "$copy" -x
    chown -R nobody "$user_home"
    as_user() {
        setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups env HOME="$user_home" "$@"
    }
    as_user cmake -S "$copy" -B "$copy/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    as_user cmake --build "$copy/build"
    as_user ctest --test-dir "$copy/build" --output-on-failure --no-tests=error -j "$(nproc)"
    rm -rf "$user_home"
fi

build "$sanitize_build_dir" -DZLOMKAR_SANITIZE=ON
LSAN_OPTIONS="suppressions=$repo_root/tests/sanitizers/lsan-suppressions.txt:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir "$sanitize_build_dir" --output-on-failure --no-tests=error -j "$(nproc)"
