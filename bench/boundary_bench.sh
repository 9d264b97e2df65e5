#!/usr/bin/env bash
# lmx send, scan and check at their bounds: bench/boundary_bench.sh BUILD_DIR
# BOUNDARY_BENCH_BASELINE=PATH runs another build of lmx beside it (see bench/link_bench.sh for
# building one of an earlier revision), with the ratio of the peaks.
set -euo pipefail
"$1/bench/boundary_bench" "$1/cli/lmx" ${BOUNDARY_BENCH_BASELINE:+"$BOUNDARY_BENCH_BASELINE"}
