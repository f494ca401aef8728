#!/usr/bin/env bash
# Builds the skin generator and redraws the default skin into data/Interfaces/ and the key
# click into data/Sounds/ (the folders are emptied first, so that they hold only what the
# generator writes). BUILD_DIR picks the build
# folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target corvan-skin-generator
rm -rf data/Interfaces data/Sounds
QT_LOGGING_RULES="default.warning=false" "$build/ui/skin_generator/corvan-skin-generator" data
