#!/usr/bin/env bash
# Archive benchmarks: ./run.sh BUILD_DIR. Sizes from VKA_BENCH_MIB, VKA_BENCH_ENTRIES,
# VKA_BENCH_OPEN_ENTRIES, VKA_BENCH_ROUNDS; scratch files under VKA_BENCH_DIR (default /tmp), removed after.
set -euo pipefail
build=${1:?usage: run.sh BUILD_DIR}
echo "== archive benchmarks"
exec "$build/bench/archive/archive_bench"
