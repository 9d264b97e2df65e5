#!/usr/bin/env bash
# Builds the benchmarks (optimised, no sanitizers) and prints their figures.
#   bench/run.sh [BENCHMARK...]     all of them by default
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
orvanta_install_packages
orvanta_build build-bench -DCMAKE_BUILD_TYPE=Release -DORVANTA_TESTS=OFF
benches=("$@")
if [ ${#benches[@]} -eq 0 ]; then
    mapfile -t benches < <(find build-bench/bench -maxdepth 1 -type f -perm -u+x -name '*_bench' -printf '%f\n' | sort)
fi
for b in "${benches[@]}"; do
    echo "== $b"
    if [ -x "bench/$b.sh" ]; then
        "bench/$b.sh" "build-bench"
    else
        "build-bench/bench/$b" --benchmark_min_time=0.5
    fi
done
