#!/bin/sh
# Builds the Debian package, checks its fields and files, validates them without the network and
# starts the program it installs. Usage: $0 CPACK BUILD APP_ID VERSION
tool=$1 build=$2 id=$3 version=$4 work=$(mktemp -d)
# cpack rewrites the build's install_manifest.txt, which uninstalling after a real install reads.
cp -p "$build/install_manifest.txt" "$work/manifest" 2>/dev/null
trap 'mv "$work/manifest" "$build/install_manifest.txt" 2>/dev/null || rm -f "$build/install_manifest.txt"; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; failed=1; }

"$tool" -G DEB --config "$build/CPackConfig.cmake" -B "$work" >/dev/null || fail cpack
deb=$work/zlomkar_${version}_$(dpkg --print-architecture).deb
# Depends comes from dpkg-shlibdeps; without it the package would install without Qt.
dpkg-deb -f "$deb" Package Version Section Depends | tr '\n' ' ' | grep -q \
    "^Package: zlomkar Version: $version Section: utils Depends: .*libqt6widgets6 (>= " || fail fields
dpkg-deb -x "$deb" "$work/tree"
usr=$work/tree/usr
expected="bin/zlomkar share/applications/$id.desktop share/metainfo/$id.metainfo.xml"
for size in 16x16 32x32 48x48 64x64 128x128 scalable; do
    expected="$expected share/icons/hicolor/$size/apps/$id.$([ $size = scalable ] && echo svg || echo png)"
done
installed=$(cd "$usr" && find . ! -type d | sed 's|^\./||' | sort | xargs)
[ "$installed" = "$(echo $expected | tr ' ' '\n' | sort | xargs)" ] || fail "installed: $installed"

# A quiet validator is the goal: warnings and hints count too.
report=$(desktop-file-validate "$usr/share/applications/$id.desktop" 2>&1) && [ -z "$report" ] || fail "$report"
appstreamcli validate-tree --no-net "$work/tree" || fail "appstreamcli"

# Still running after two seconds: no missing library, no crash at the start.
QT_QPA_PLATFORM=offscreen timeout 2 "$usr/bin/zlomkar"
[ $? -eq 124 ] || fail "the installed program did not keep running"
[ -z "$failed" ]
