# Shared by the run and test scripts: installs what the build needs and builds into build/.
# Sourced, not run.

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir="$repo_root/build"
sanitize_build_dir="$repo_root/build-sanitize"

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-private-dev qt6-translations-l10n libgl-dev libxcb1-dev libwayland-dev
    fonts-dejavu-core
    desktop-file-utils appstream dpkg-dev file
    xvfb xauth x11-utils openbox xfwm4 metacity dbus-daemon at-spi2-core libglib2.0-bin xdotool weston qt6-wayland
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

install_missing_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build [DIR [CMAKE_ARGUMENTS...]]: configures and builds into DIR, build/ by default.
build() {
    local dir=${1:-$build_dir}
    shift || true
    cmake -S "$repo_root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$dir"
}
