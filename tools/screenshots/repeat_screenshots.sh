#!/usr/bin/env bash
# Screenshots of repeat runs in the real main window under Xvfb, attached to two virtual
# displays that spoil one answer in ten at random: the Repeat Transmission dialog, and the
# Statistics tab while the runs go.
#   tools/screenshots/repeat_screenshots.sh [OUTPUT_DIR]     (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
out=$(realpath -m "${1:-build/screenshots}")
mkdir -p "$out"
orvanta_need_target orvanta app
orvanta_need_target lmx cli
orvanta_start_xvfb 1024x768

orvanta_private_program --netnr 1 --netnr 2 --line-rate 19200 --fault bad-crc --fault-rate 0.1 --seed 5
scripts/write-settings.sh "$work/prog/ORVANTA.SET" "$work/pty"
cp examples/two-displays.lmx "$work/demo.lmx"

(cd "$work" && exec prog/orvanta demo.lmx) >"$work/app.out" 2>&1 &
orvanta_xvfb_pids=("$!" "${orvanta_xvfb_pids[@]}")

main=$(window "Orvanta")
xdotool windowsize "$main" 1000 720
xdotool windowmove "$main" 12 12
focus "$main"
sleep 1
# Transmit > Repeat Transmission...: the third menu, its third item.
xdotool mousemove --window "$main" 112 8 click 1
sleep 1
xdotool key Down Down Down Return
dialog=$(window "Repeat Transmission")
# 500 runs, one every 250 ms, ending after 20 failed runs; the entries by the mouse.
entry() {
    xdotool mousemove --window "$dialog" "$1" "$2" click 1
    xdotool key ctrl+a
    xdotool type --delay 5 "$3"
}
entry 180 22 500
entry 180 79 250
xdotool mousemove --window "$dialog" 18 108 click 1
entry 180 108 20
shoot repeat-dialog.png
xdotool key Return
sleep 10
shoot statistics.png
