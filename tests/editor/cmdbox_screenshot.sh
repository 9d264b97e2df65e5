#!/usr/bin/env bash
# A screenshot of the command box and the hex box with nested blocks under Xvfb.
#   tests/editor/cmdbox_screenshot.sh [OUTPUT.png]     (default: build/screenshots/cmdbox.png)
# Builds build/ first when the gallery program is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/screenshots/cmdbox.png}
mkdir -p "$(dirname "$out")"
if [ ! -x build/tests/editor/command_box_gallery ]; then
    cmake -S . -B build -G Ninja >/dev/null
    cmake --build build --target command_box_gallery
fi
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x460x24 -nolisten tcp &
xvfb=$!
gallery=
cleanup() {
    [ -n "$gallery" ] && kill "$gallery" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do
    DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
fifo=$(mktemp -u)
mkfifo "$fifo"
DISPLAY=$display QT_QPA_PLATFORM=xcb build/tests/editor/command_box_gallery "${out%.png}-window.png" >"$fifo" &
gallery=$!
read -r -t 30 line <"$fifo"
rm -f "$fifo"
[ "$line" = ready ] || { echo "gallery did not start" >&2; exit 1; }
DISPLAY=$display import -window root "$out"
echo "$out"
