#!/bin/sh
# Remakes the demo game's data files in examples/demo/: the image font font.png (a strip of the
# glyphs for the characters 32 to 90, space to Z, in DejaVu Sans Mono Bold, with the baseline
# gauge in column 0 and a glyph marker in the bottom row) and the sound clips *.raw (signed
# 16-bit little-endian mono PCM at 44100 Hz, no header). Needs ImageMagick, sox and the DejaVu
# fonts. The files are committed; run this only to change them.
set -eu
out=$(cd "$(dirname "$0")/../examples/demo" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cell_w=14; cell_h=26; ascent=20
code=32; cells=""; draw=""
while [ $code -le 90 ]; do
    char=$(printf "\\$(printf %o $code)")
    cell="$work/$(printf %03d $code).png"
    case "$char" in
        ' '|'"'|'%'|'@') convert -size ${cell_w}x$cell_h xc:black "$cell" ;;
        *) convert -background black -fill white -font DejaVu-Sans-Mono-Bold -pointsize 22 \
               -size ${cell_w}x$cell_h -gravity center "label:$char" "$cell" ;;
    esac
    cells="$cells $cell"
    # The marker that ends this glyph (and starts the next) sits in the bottom row.
    draw="$draw point $((1 + (code - 31) * cell_w)),$cell_h"
    code=$((code + 1))
done
# shellcheck disable=SC2086
convert $cells +append -background black -gravity west -splice 1x0 -gravity east -splice 1x0 \
    -gravity south -splice 0x1 -fill white -draw "line 0,0 0,$((ascent - 1))" -draw "$draw" \
    -colorspace Gray -depth 8 -define png:color-type=0 "$out/font.png"

clip_args() { name=$1; shift; sox -n -r 44100 -c 1 -b 16 -e signed -t raw "$out/$name" "$@"; }
clip_args catch.raw synth 0.12 sine 660:1320 fade 0 0.12 0.04 vol 0.45
clip_args miss.raw synth 0.35 square 220:110 fade 0 0.35 0.1 vol 0.25
clip_args start.raw synth 0.25 sine 440:880 fade 0 0.25 0.05 vol 0.4
clip_args over.raw synth 0.9 sine 440:110 fade 0 0.9 0.3 vol 0.45
