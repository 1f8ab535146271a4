#!/bin/sh
# Installs the build by `cmake --install` or as a Debian package, checks the files, validates them
# without the network and starts the program. Usage: $0 install|deb CMAKE|CPACK BUILD APP_ID VERSION
mode=$1 tool=$2 build=$3 id=$4 version=$5
work=$(mktemp -d)
# Both ways rewrite the build's install_manifest.txt, which uninstalling after a real install reads.
manifest=$build/install_manifest.txt
cp -p "$manifest" "$work/manifest" 2>/dev/null
trap 'if [ -f "$work/manifest" ]; then mv "$work/manifest" "$manifest"; else rm -f "$manifest"; fi; rm -rf "$work"' EXIT
usr=$work/tree/usr
fail() { echo "FAIL: $*"; failed=1; }

if [ "$mode" = install ]; then
    "$tool" --install "$build" --prefix "$usr" >/dev/null || fail "cmake --install"
else
    "$tool" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >/dev/null || fail cpack
    deb=$work/zlomkar_${version}_$(dpkg --print-architecture).deb
    # Depends comes from dpkg-shlibdeps; without it the package would install without Qt.
    dpkg-deb -f "$deb" Package Version Section Depends | tr '\n' ' ' | grep -q \
        "^Package: zlomkar Version: $version Section: utils Depends: .*libqt6widgets6 (>= " || fail fields
    dpkg-deb -x "$deb" "$work/tree"
fi

expected="bin/zlomkar share/applications/$id.desktop share/metainfo/$id.metainfo.xml"
for size in 16x16 32x32 48x48 64x64 128x128; do expected="$expected share/icons/hicolor/$size/apps/$id.png"; done
installed=$(cd "$usr" && find . ! -type d | sed 's|^\./||' | sort | xargs)
[ "$installed" = "$(echo $expected share/icons/hicolor/scalable/apps/$id.svg | tr ' ' '\n' | sort | xargs)" ] \
    || fail "installed: $installed"

# A quiet validator is the goal: warnings and hints count too.
report=$(desktop-file-validate "$usr/share/applications/$id.desktop" 2>&1) && [ -z "$report" ] || fail "$report"
appstreamcli validate-tree --no-net "$work/tree" || fail "appstreamcli"

# Still running after two seconds: no missing library, no crash at the start.
QT_QPA_PLATFORM=offscreen timeout 2 "$usr/bin/zlomkar"
[ $? -eq 124 ] || fail "the installed program did not keep running"
[ -z "$failed" ]
