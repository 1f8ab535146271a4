#!/usr/bin/env bash
# Renders the program icon from the SVG files beside this script. Run it after changing an SVG and
# commit what it writes: the build uses the committed images and needs no image tools.
#
# zlomkar.svg is the scalable icon and the source of the 48, 64 and 128 px images; zlomkar-32.svg
# and zlomkar-16.svg are the same picture drawn on the pixel grid, because the digits blur when the
# large drawing is scaled down that far.
#
# Writes:
#   hicolor/{16x16,32x32,48x48,64x64,128x128}/apps/zlomkar.png   RGBA
#   zlomkar-32-256colour.png   32x32, palette of at most 256 colours, on/off transparency
#   zlomkar.ico                the same image, 8 bits per pixel with a transparency mask
#
# With the same tool versions (Debian 12's) the output does not change between runs: the PNGs
# carry no time or text chunks.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")"

# Debian's ImageMagick 6 binaries under their own names: a plain `convert` on PATH may be
# another program of that name.
readonly MAGICK=convert-im6.q16
readonly COMPARE=compare-im6.q16

missing=0
require() {
    if ! command -v "$1" >/dev/null 2>&1; then
        echo "render-icons.sh: '$1' not found; install the Debian package $2" >&2
        missing=1
    fi
}
require rsvg-convert librsvg2-bin
require "$MAGICK" imagemagick
require "$COMPARE" imagemagick
if ((missing)); then
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

png_out=(-strip -define 'png:exclude-chunks=date,time')

source_for() {
    case "$1" in
        16) echo zlomkar-16.svg ;;
        32) echo zlomkar-32.svg ;;
        *) echo zlomkar.svg ;;
    esac
}

for size in 16 32 48 64 128; do
    dir="hicolor/${size}x${size}/apps"
    mkdir -p "$dir"
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$work/$size.png" "$(source_for "$size")"
    "$MAGICK" "$work/$size.png" "${png_out[@]}" "PNG32:$dir/zlomkar.png"
done

# A 256-colour image has no partial transparency: each pixel is either shown or not, so the
# antialiased corners are cut at half coverage. Hidden pixels get one colour so that they take
# a single palette entry.
"$MAGICK" "$work/32.png" -channel A -threshold 50% +channel \
    -background none -alpha background +dither -colors 256 \
    "${png_out[@]}" PNG8:zlomkar-32-256colour.png

# +dither -colors 256 keeps the colours exact (there are fewer than 256) and makes ImageMagick
# write the icon as a palette bitmap instead of 32-bit colour.
"$MAGICK" zlomkar-32-256colour.png +dither -colors 256 zlomkar.ico

# The icon file must hold exactly the palette image: one 32x32 entry of 8 bits per pixel.
header=$(od -An -tx1 -N22 zlomkar.ico | tr -d ' \n')
if [[ "$header" != 000001000100202000000100080* ]]; then
    echo "render-icons.sh: zlomkar.ico is not a single 32x32 image of 8 bits per pixel" >&2
    exit 1
fi
if ! "$COMPARE" -metric AE zlomkar.ico zlomkar-32-256colour.png null: 2>/dev/null; then
    echo "render-icons.sh: zlomkar.ico does not show the same pixels as zlomkar-32-256colour.png" >&2
    exit 1
fi
