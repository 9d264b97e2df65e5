#!/usr/bin/env bash
# Runs the Packets tab benchmark: bench/packets_bench.sh BUILD_DIR
set -euo pipefail
"$1/bench/packets_bench" 1000 5
