#!/usr/bin/env bash
# Time per packet of lmx send beside a minimal client: bench/link_bench.sh BUILD_DIR
# LINK_BENCH_BASELINE=PATH adds another build of lmx to the pseudo-terminal figures, for
# example one of an earlier revision REV:
#   mkdir /tmp/base && git archive REV | tar -x -C /tmp/base
#   cmake -S /tmp/base -B /tmp/base/build -G Ninja -DCMAKE_BUILD_TYPE=Release \
#         -DORVANTA_GUI=OFF -DORVANTA_TESTS=OFF -DORVANTA_BENCH=OFF
#   cmake --build /tmp/base/build --target lmx      (then LINK_BENCH_BASELINE=/tmp/base/build/cli/lmx)
set -euo pipefail
"$1/bench/link_bench" "$1/cli/lmx" "${LINK_BENCH_PACKETS:-1000}" 5 ${LINK_BENCH_BASELINE:+"$LINK_BENCH_BASELINE"}
