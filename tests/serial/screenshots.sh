#!/usr/bin/env bash
# Screenshots of the serial settings dialog and the serial debug window under Xvfb.
#   tests/serial/screenshots.sh [OUTPUT_DIR]     (default: build/screenshots)
# Builds build/ first when the gallery program is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=${1:-build/screenshots}
if [ ! -x build/tests/serial/serial_gallery ]; then
    cmake -S . -B build -G Ninja >/dev/null
    cmake --build build --target serial_gallery
fi
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done
DISPLAY=$display QT_QPA_PLATFORM=xcb build/tests/serial/serial_gallery "$out"
