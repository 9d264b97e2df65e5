#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   ./test.sh          build/ and all tests
#   ./test.sh --asan   the same in build-asan/ under AddressSanitizer + UndefinedBehaviorSanitizer
# Further arguments go to ctest (for example -L unit or -R Crc).
set -euo pipefail
cd "$(dirname "$0")"
. scripts/common.sh

dir=build
opts=()
if [ "${1:-}" = "--asan" ]; then
    shift
    dir=build-asan
    opts+=(-DORVANTA_SANITIZE=ON -DORVANTA_BENCH=OFF)
fi

orvanta_install_packages
# The logic libraries must build without Qt Widgets: a configure without them catches widget
# code that leaked into a logic library.
if [ "$dir" = build ]; then
    echo "== logic libraries without Qt Widgets (build-nogui/)"
    orvanta_build build-nogui -DORVANTA_GUI=OFF -DORVANTA_BENCH=OFF
fi
orvanta_build "$dir" "${opts[@]}"
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" "$@"
