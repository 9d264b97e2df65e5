#!/usr/bin/env bash
# Runs the transmission benchmark: bench/engine_bench.sh BUILD_DIR
set -euo pipefail
"$1/bench/engine_bench" 200 5
