#!/usr/bin/env bash
# The soak under faults: builds the client stack and `lmx sim` under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-soak/, then transmits PACKETS packets (10,000 by
# default) to two virtual displays that spoil every 7th answer with the next fault of the
# cycle. Prints packets per minute, the faults met by kind, the client's messages and the
# peak memory at the checkpoint (1,000 packets) and at the end. 10,000 packets take about
# ten minutes, most of it answer time-outs; it is not part of ./test.sh.
#   bench/soak.sh [PACKETS] [--checkpoint N] [--fault KIND] [--fault-every N]
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
orvanta_install_packages
cmake -S . -B build-soak -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVANTA_SANITIZE=ON \
    -DORVANTA_GUI=OFF -DORVANTA_TESTS=OFF >/dev/null
cmake --build build-soak -j "$(nproc)" --target soak lmx

# AddressSanitizer holds freed blocks in a quarantine before it hands them out again (256 MB
# by default). A run fills that with the churn of every packet and looks like a leak until it
# is full; 16 MB is full long before the checkpoint, so what grows after it is our own.
# SOAK_QUARANTINE_MB=0 turns the quarantine off to see the program's own memory alone.
export ASAN_OPTIONS="detect_leaks=1:quarantine_size_mb=${SOAK_QUARANTINE_MB:-16}:abort_on_error=0:detect_odr_violation=0"
export LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
exec build-soak/bench/soak "$@"
