#!/usr/bin/env bash
# Installs what is missing, builds Corvan and starts it: the calculator reads one expression
# per line from the terminal and prints each result.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh >/dev/null
echo "Corvan: type an expression and press Enter (Ctrl-D quits)."
exec build/cli/corvan-cli "$@"
