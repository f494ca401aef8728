#!/usr/bin/env bash
# Installs what is missing, builds Corvan and starts the calculator window.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/build.sh >/dev/null
exec build/ui/corvan "$@"
