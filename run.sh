#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window program with a virtual display
# (lmx sim, displays 1 and 2 on one bus) attached on a pseudo-terminal.
#   ./run.sh [FILE.lmx]   start orvanta (under Xvfb when there is no $DISPLAY)
# The terminal is also reachable as build/lmx-sim.pty. Only when there is no ORVANTA.SET
# beside the program yet, one is written with the default settings and that link as its
# port, so later runs find the display again on their new terminal; a settings file that
# exists already is left as it is. lmx send in build/ reads the same file.
# The virtual display's record (every packet it received, and at the end what it shows) is
# kept in build/lmx-sim.log.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/common.sh

orvanta_install_packages
orvanta_build build

bin=build/app
link=$PWD/build/lmx-sim.pty
simlog=$PWD/build/lmx-sim.log
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
    [ -s "$simlog" ] && echo "the virtual display's record: $simlog"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:97
    Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    echo "no display: running under Xvfb on $DISPLAY"
fi

# The virtual display, answering for displays 1 and 2 as the examples need; its first line
# of output is the terminal's path. At its end (when orvanta closes) --show adds what each
# display holds.
build/cli/lmx sim --netnr 1 --netnr 2 --link "$link" --show >"$simlog" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$simlog" ] && break; sleep 0.1; done
pty=$(head -n 1 "$simlog")
if [ -z "$pty" ] || [ ! -e "$link" ]; then
    echo "the virtual display did not start:" >&2
    cat "$simlog" >&2
    exit 1
fi
echo "virtual display on $pty (also $link)"
echo "every packet it receives is recorded in $simlog (tail -f $simlog to watch)"
if [ ! -e "$bin/ORVANTA.SET" ]; then
    scripts/write-settings.sh "$bin/ORVANTA.SET" "$link"
    echo "wrote $bin/ORVANTA.SET with the port $link"
fi

"$bin/orvanta" "$@"
