#!/usr/bin/env bash
# Archive benchmarks: ./run.sh BUILD_DIR. Sizes from VKA_BENCH_MIB, VKA_BENCH_ENTRIES,
# VKA_BENCH_OPEN_ENTRIES, VKA_BENCH_ROUNDS; scratch files under VKA_BENCH_DIR (default /tmp), removed after.
# Each measure is recorded for the summary of ./dev bench.
set -euo pipefail
build=${1:?usage: run.sh BUILD_DIR}
. "$(dirname "$0")/../results.sh"
echo "== archive benchmarks"
# The bench prints a line for the reader and a tab-separated "result" line for each measure.
"$build/bench/archive/archive_bench" | while IFS= read -r line; do
  case $line in
    result$'\t'*)
      IFS=$'\t' read -r _ measure figure comparison limit <<<"$line"
      record_result "$measure" "$figure" "$comparison $limit" \
        "$(verdict "$figure" "$comparison" "$limit")"
      ;;
    *) printf '%s\n' "$line" ;;
  esac
done
