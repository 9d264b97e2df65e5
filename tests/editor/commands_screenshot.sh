#!/usr/bin/env bash
# A screenshot of the command buttons test window under Xvfb (further arguments go to it).
#   tests/editor/commands_screenshot.sh [OUTPUT.png [--basic]]  (default: build/screenshots/commands.png)
# Builds build/ first when the test window program is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/screenshots/commands.png}
shift || true
mkdir -p "$(dirname "$out")"
if [ ! -x build/tests/editor/commands_harness ]; then
    cmake -S . -B build -G Ninja >/dev/null
    cmake --build build --target commands_harness
fi
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp &
xvfb=$!
harness=
cleanup() {
    [ -n "$harness" ] && kill "$harness" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
    DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
fifo=$(mktemp -u)
mkfifo "$fifo"
DISPLAY=$display QT_QPA_PLATFORM=xcb build/tests/editor/commands_harness "${out%.png}-window.png" "$@" >"$fifo" &
harness=$!
read -r -t 30 line <"$fifo"
rm -f "$fifo"
[ "$line" = ready ] || { echo "test window did not start" >&2; exit 1; }
DISPLAY=$display import -window root "$out"
echo "$out"
