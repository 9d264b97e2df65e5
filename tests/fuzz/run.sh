#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under ASan/UBSan and runs each for SECONDS
# (default 60). Prints the executions and the coverage of every target. A failing input
# goes to build-fuzz/<target>-crash-*; keep it in tests/fuzz/regressions/<target>/, which
# ./test.sh replays.
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
    # The seeds and every input the target once failed on start the corpus; the largest of
    # them sets how long an input may grow (at least 4096 bytes).
    inputs=()
    for d in tests/fuzz/seeds/$t tests/fuzz/regressions/$t; do
        [ -d "$d" ] && inputs+=("$d")
    done
    max_len=$(find "${inputs[@]}" /dev/null -type f -printf '%s\n' 2>/dev/null | sort -n | tail -n 1)
    [ "${max_len:-0}" -gt 4096 ] || max_len=4096
    echo "== $t for ${seconds}s"
    if ! build-fuzz/tests/fuzz/$t -max_total_time="$seconds" -print_final_stats=1 \
            -max_len="$max_len" -artifact_prefix="build-fuzz/$t-" "$corpus" "${inputs[@]}" \
            2> "build-fuzz/$t.log"; then
        status=1
        tail -n 40 "build-fuzz/$t.log"
    fi
    grep -E '^stat::number_of_executed_units|^Done|DONE|ERROR' "build-fuzz/$t.log" || true
done
exit $status
