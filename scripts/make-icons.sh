#!/usr/bin/env bash
# Renders the SVG icon into the PNG sizes of the hicolor theme, under packaging/icons/hicolor/.
# Run it after changing packaging/icons/io.github.corvan.Corvan.svg (needs rsvg-convert, from
# Debian's librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 22 24 32 48 64 128 256 512; do
  mkdir -p "hicolor/${size}x${size}/apps"
  rsvg-convert -w "$size" -h "$size" io.github.corvan.Corvan.svg \
    -o "hicolor/${size}x${size}/apps/io.github.corvan.Corvan.png"
done
