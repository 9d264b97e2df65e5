#!/usr/bin/env bash
# Memory of repeat runs, short against long: bench/repeat_bench.sh BUILD_DIR
set -euo pipefail
window=()
[ -x "$1/bench/window_scale_bench" ] && window=("$1/bench/window_scale_bench")
"$1/bench/repeat_bench" "$1/cli/lmx" "${window[@]}"
