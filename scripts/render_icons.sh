#!/usr/bin/env bash
# Renders the program's icon (packaging/icons/tarvel.svg) to the PNG sizes desktops look for.
# Run after changing the SVG and commit the PNGs; needs rsvg-convert (Debian: librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" tarvel.svg -o "tarvel-$size.png"
done
