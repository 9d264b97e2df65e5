#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window program with a virtual display
# (lmx sim) attached on a pseudo-terminal.
#   ./run.sh            start orvanta (under Xvfb when there is no $DISPLAY)
set -euo pipefail
cd "$(dirname "$0")"
. scripts/common.sh

orvanta_install_packages
orvanta_build build

bin=build/app
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
}
trap cleanup EXIT INT TERM

if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:97
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
    echo "no display: running under Xvfb on $DISPLAY"
fi

# The virtual display, once lmx sim is built in.
if build/cli/lmx sim --help >/dev/null 2>&1; then
    out=$(mktemp)
    build/cli/lmx sim --link build/lmx-sim.pty >"$out" &
    pids+=($!)
    for _ in $(seq 50); do [ -s "$out" ] && break; sleep 0.1; done
    pty=$(head -n 1 "$out")
    echo "virtual display on $pty (also build/lmx-sim.pty)"
    if [ -x scripts/write-settings.sh ] && [ ! -e "$bin/ORVANTA.SET" ]; then
        scripts/write-settings.sh "$bin/ORVANTA.SET" "$pty"
    fi
fi

"$bin/orvanta"
