#!/bin/sh
# Renders the PNG sizes of the program's icon from its SVG (run by hand after
# changing the drawing; needs rsvg-convert from librsvg2-bin).
set -eu
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "icons/${size}x${size}"
    rsvg-convert -w "$size" -h "$size" de.travenil.quintor3p.svg -o "icons/${size}x${size}/de.travenil.quintor3p.png"
done
