#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   ./test.sh          build/ and all tests
#   ./test.sh --asan   the same in build-asan/ under AddressSanitizer + UndefinedBehaviorSanitizer
#   ./test.sh --coverage  the same in build-coverage/ (gcc --coverage, -O0), then the line and
#                         branch coverage of the libraries (gcovr)
# Further arguments go to ctest (for example -L unit or -R Crc).
set -euo pipefail
cd "$(dirname "$0")"
. scripts/common.sh

dir=build
opts=()
extra_packages=()
if [ "${1:-}" = "--asan" ]; then
    shift
    dir=build-asan
    opts+=(-DORVANTA_SANITIZE=ON -DORVANTA_BENCH=OFF)
elif [ "${1:-}" = "--coverage" ]; then
    shift
    dir=build-coverage
    opts+=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="--coverage -O0" -DORVANTA_BENCH=OFF)
    extra_packages+=(gcovr)
fi

orvanta_install_packages "${extra_packages[@]}"
# The logic libraries must build without Qt Widgets: a configure without them catches widget
# code that leaked into a logic library.
if [ "$dir" = build ]; then
    echo "== logic libraries without Qt Widgets (build-nogui/)"
    orvanta_build build-nogui -DORVANTA_GUI=OFF -DORVANTA_BENCH=OFF
fi
orvanta_build "$dir" "${opts[@]}"
if [ "$dir" = build-coverage ]; then
    # Counts from an earlier run would add up with this one.
    find "$dir" -name '*.gcda' -delete
fi
ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" "$@"
if [ "$dir" = build-coverage ]; then
    echo "== coverage of the libraries"
    gcovr --root . --object-directory "$dir" \
        --exclude 'tests/' --exclude 'build[^/]*/' --exclude 'tools/' --exclude 'bench/' \
        --exclude-unreachable-branches --exclude-throw-branches \
        --print-summary --txt "$dir/coverage.txt"
fi
