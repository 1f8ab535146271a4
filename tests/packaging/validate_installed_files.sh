#!/bin/sh
# Installs the build into a temporary tree, either with `cmake --install` or by making the Debian
# package and unpacking it, then checks that exactly the program's files are there under the names
# the desktop looks for, runs the freedesktop validators on them without the network, and starts
# the installed program.
# Usage: validate_installed_files.sh install CMAKE BUILD_DIR APP_ID VERSION
#        validate_installed_files.sh deb CPACK BUILD_DIR APP_ID VERSION
set -u
mode=$1 tool=$2 build_dir=$3 app_id=$4 version=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
tree=$work/tree
prefix=$tree/usr
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

case $mode in
install)
    "$tool" --install "$build_dir" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
    ;;
deb)
    "$tool" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/cpack" >/dev/null \
        || fail "cpack failed"
    deb=$work/cpack/zlomkar_${version}_$(dpkg --print-architecture).deb
    if [ -f "$deb" ]; then
        dpkg-deb -f "$deb" Package Version Section Depends
        [ "$(dpkg-deb -f "$deb" Package)" = zlomkar ] || fail "the package is not named zlomkar"
        [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package version is not $version"
        [ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "the package section is not utils"
        # Depends comes from dpkg-shlibdeps; without it the package would install without Qt.
        dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6 (>= ' \
            || fail "the package does not depend on the Qt Widgets library it links"
        dpkg-deb -x "$deb" "$tree"
    else
        fail "no package $(basename "$deb"); cpack made: $(ls "$work/cpack")"
    fi
    ;;
*)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac

sizes="16x16 32x32 48x48 64x64 128x128"
{
    echo bin/zlomkar
    echo "share/applications/$app_id.desktop"
    echo "share/metainfo/$app_id.metainfo.xml"
    for size in $sizes; do echo "share/icons/hicolor/$size/apps/$app_id.png"; done
    echo "share/icons/hicolor/scalable/apps/$app_id.svg"
} | sort >"$work/expected"
(cd "$tree" && find . -type f -o -type l | sed 's|^\./usr/||' | sort) >"$work/installed"
for file in $(comm -23 "$work/expected" "$work/installed"); do fail "missing: $file"; done
for file in $(comm -13 "$work/expected" "$work/installed"); do fail "not expected: $file"; done

# The icon theme trusts the directory name, so each picture must have the size it is filed under.
for size in $sizes; do
    icon=$prefix/share/icons/hicolor/$size/apps/$app_id.png
    [ -f "$icon" ] || continue
    file -b "$icon" | grep -q "^PNG image data, $(echo "$size" | sed 's/x/ x /')," \
        || fail "$icon is not a $size PNG: $(file -b "$icon")"
done

desktop=$prefix/share/applications/$app_id.desktop
if [ -f "$desktop" ]; then
    # Warnings and hints count too: a quiet validator is the goal.
    report=$(desktop-file-validate "$desktop" 2>&1)
    status=$?
    [ -n "$report" ] && echo "$report"
    if [ $status -ne 0 ] || [ -n "$report" ]; then fail "desktop-file-validate is not satisfied"; fi
    grep -qx "Icon=$app_id" "$desktop" || fail "the desktop file does not name the icon $app_id"
    program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
    [ -x "$prefix/bin/$program" ] || fail "Exec=$program is not an installed program"
fi

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
    # appstreamcli fails on warnings as well as errors.
    appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate reports problems"
    # The tree check also looks for the desktop file that the metainfo names as its launchable.
    appstreamcli validate-tree --no-net "$tree" || fail "appstreamcli validate-tree reports problems"
    grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"
fi

# Still running after two seconds means it started: no missing library, no crash on start.
if [ -x "$prefix/bin/zlomkar" ]; then
    QT_QPA_PLATFORM=offscreen timeout 2 "$prefix/bin/zlomkar"
    status=$?
    [ $status -eq 124 ] || fail "the installed program ended with status $status instead of running"
fi

[ $failures -eq 0 ] || exit 1
echo "Installed files present and valid."
