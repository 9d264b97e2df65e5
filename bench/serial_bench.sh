#!/usr/bin/env bash
# Runs the serial answer latency benchmark: bench/serial_bench.sh BUILD_DIR
set -euo pipefail
"$1/bench/serial_bench" 500 100
