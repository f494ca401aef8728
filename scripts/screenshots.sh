#!/usr/bin/env bash
# Renders every category, tool panel and dialog at 240x320, 320x240, 480x640, 640x480 and
# 1000x1000 off-screen into a folder (default: build/screenshots) with an index.html that lists
# the layout faults found in each picture. Usage: scripts/screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
output="${1:-build/screenshots}"

bash scripts/build.sh >/dev/null
rm -rf "$output"
QT_QPA_PLATFORM=offscreen QT_LOGGING_RULES="default.warning=false" \
  build/ui/screenshot_gallery/corvan-gallery "$output" "$PWD/data"
