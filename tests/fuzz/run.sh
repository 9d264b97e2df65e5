#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under ASan/UBSan and runs each for SECONDS
# (default 60). Prints the executions of every target.
#   tests/fuzz/run.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/common.sh
orvanta_install_packages clang libclang-rt-dev
seconds=${1:-60}
shift || true
CXX=clang++ orvanta_build build-fuzz -DORVANTA_FUZZ=ON -DORVANTA_GUI=OFF -DORVANTA_BENCH=OFF
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    mapfile -t targets < <(find build-fuzz/tests/fuzz -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x -printf '%f\n' | sort)
fi
status=0
for t in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$t
    mkdir -p "$corpus"
    seeds=tests/fuzz/seeds/$t
    [ -d "$seeds" ] || seeds=
    echo "== $t for ${seconds}s"
    if ! build-fuzz/tests/fuzz/$t -max_total_time="$seconds" -print_final_stats=1 \
            -max_len=4096 -artifact_prefix="build-fuzz/$t-" "$corpus" $seeds 2> "build-fuzz/$t.log"; then
        status=1
        tail -n 40 "build-fuzz/$t.log"
    fi
    grep -E '^stat::number_of_executed_units|^Done|ERROR' "build-fuzz/$t.log" || true
done
exit $status
