#!/usr/bin/env bash
# Fails, naming the files, when a C++ file of the tree differs from what clang-format makes of
# it under .clang-format. Fix with: git ls-files '*.cpp' '*.h' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "$0")/.."

unformatted=()
while IFS= read -r file; do
  if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
    unformatted+=("$file")
  fi
done < <(git ls-files '*.cpp' '*.h')

if [ ${#unformatted[@]} -ne 0 ]; then
  echo "Not formatted with clang-format (.clang-format):" >&2
  printf '  %s\n' "${unformatted[@]}" >&2
  exit 1
fi
