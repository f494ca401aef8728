#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ with clang into build-fuzz/ (AddressSanitizer,
# UndefinedBehaviorSanitizer, libFuzzer) and runs each for SECONDS (default 60), starting from
# seeds that the program's own writers make and the shipped data files. Fails when any target
# crashes, hangs or finds undefined behaviour; the input that did it is kept in
# build-fuzz/fuzz-crashes/ and the log in build-fuzz/fuzz-logs/.
#     bash scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
case "$seconds" in
  ''|*[!0-9]*) echo "usage: bash scripts/fuzz.sh [SECONDS]" >&2; exit 2 ;;
esac

bash scripts/install-deps.sh
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DCORVAN_FUZZ=ON >/dev/null
cmake --build build-fuzz --target corvan_fuzzers

seeds=build-fuzz/fuzz-seeds
corpus=build-fuzz/fuzz-corpus
crashes=build-fuzz/fuzz-crashes
logs=build-fuzz/fuzz-logs
rm -rf "$seeds" "$logs"
mkdir -p "$corpus" "$crashes" "$logs"
build-fuzz/fuzz/corvan-fuzz-seeds data tests/data "$seeds"

export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
failed=()
for fuzzer in build-fuzz/fuzz/*_fuzzer; do
  name=$(basename "$fuzzer" _fuzzer)
  mkdir -p "$corpus/$name" "$seeds/$name"
  log="$logs/$name.log"
  # The first folder collects what the fuzzer finds (kept between runs); the seeds are read only.
  if "$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$crashes/$name-" "$corpus/$name" "$seeds/$name" >"$log" 2>&1; then
    status=ok
  else
    status=FAILED
    failed+=("$name")
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  printf '%-16s %-6s %12s executions in %ss\n' "$name" "$status" "${runs:-?}" "$seconds"
done

if [ ${#failed[@]} -gt 0 ]; then
  for name in "${failed[@]}"; do
    echo
    echo "== $name: $logs/$name.log"
    grep -E -m 20 'ERROR|runtime error|SUMMARY|fuzz check failed|Test unit written' "$logs/$name.log" || tail -n 20 "$logs/$name.log"
  done
  echo
  echo "fuzz: ${#failed[@]} target(s) failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: every target ran ${seconds}s without a crash"
