#!/usr/bin/env bash
# Installs what is missing, builds Corvan, checks that the tree is formatted and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh
bash scripts/check-format.sh
ctest --test-dir build --output-on-failure
