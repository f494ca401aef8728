#!/usr/bin/env bash
# Takes the pictures that the AppStream metainfo shows from the screenshot gallery and puts them
# under docs/screenshots/. Run it after a change that the pictures should show.
set -euo pipefail
cd "$(dirname "$0")/.."
gallery=$(mktemp -d)
trap 'rm -rf "$gallery"' EXIT
bash scripts/screenshots.sh "$gallery" > /dev/null
mkdir -p docs/screenshots
cp "$gallery/category00-480x640.png" docs/screenshots/calculator.png
cp "$gallery/finance-tvm-480x640.png" docs/screenshots/time-value-of-money.png
