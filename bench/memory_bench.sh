#!/usr/bin/env bash
# Peak memory of a 1,000,000-line command file: bench/memory_bench.sh BUILD_DIR [LINES]
set -euo pipefail
"$1/bench/memory_bench" "$1/cli/lmx" "${2:-1000000}"
