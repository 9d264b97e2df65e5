#!/usr/bin/env bash
# The window at scale: bench/window_scale_bench.sh BUILD_DIR
# WINDOW_SCALE_BASELINE=PATH measures another build of window_scale_bench in the same run and
# prints both side by side, for example one of an earlier revision REV (its sources with this
# benchmark added):
#   mkdir /tmp/base && git archive REV | tar -x -C /tmp/base
#   cp bench/window_scale_bench.cpp bench/CMakeLists.txt /tmp/base/bench/
#   cmake -S /tmp/base -B /tmp/base/build -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVANTA_TESTS=OFF
#   cmake --build /tmp/base/build --target window_scale_bench
#       (then WINDOW_SCALE_BASELINE=/tmp/base/build/bench/window_scale_bench)
# WINDOW_SCALE_PACKETS (default 1000,20000) and WINDOW_SCALE_BASELINE_PACKETS (default
# 1000,4000: an earlier revision may need the square of the run's length) set the runs.
set -euo pipefail
"$1/bench/window_scale_bench" --lmx "$1/cli/lmx" \
    --packets "${WINDOW_SCALE_PACKETS:-1000,20000}" \
    --baseline-packets "${WINDOW_SCALE_BASELINE_PACKETS:-1000,4000}" \
    ${WINDOW_SCALE_BASELINE:+--baseline "$WINDOW_SCALE_BASELINE"}
