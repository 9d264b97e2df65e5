#!/usr/bin/env bash
# Screenshots of the real main window under Xvfb, attached to a virtual display on a
# pseudo-terminal, as it shows itself at start (the command file below lies ready beside it
# for trying Load and Transmit by hand).
#   tools/screenshots/window_screenshots.sh [OUTPUT_DIR]     (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
orvanta_real_window_setup "${1:-build/screenshots}" 1024x768

orvanta_private_program --netnr 1 --netnr 2
scripts/write-settings.sh "$work/prog/ORVANTA.SET" "$work/pty"

demo=("; two displays, a packet break and a data inquiry"
      "SOT '01'"
      " STX '0A'"
      "  KEY 'F1' ESC \$A0 '2'"
      "  'Platform 1'"
      "  FPACK '00100'"
      "  KEY 'Green' ESC \$A1 '2'"
      "  'Departure 10:15'"
      " ETX"
      "EOT"
      "SOT '02'"
      " 'Track closed'"
      " NPACK '00050'"
      " ESC \$A6 '2'"
      "EOT")
printf '%s\r\n' "${demo[@]}" >"$work/demo.lmx"

(cd "$work" && exec prog/orvanta) >"$work/app.out" 2>&1 &
orvanta_xvfb_pids=("$!" "${orvanta_xvfb_pids[@]}")


main=$(window "Orvanta")
focus "$main"
shoot window-start.png

# Load through the file dialog: the keys of the file's KEY lines are bound, the others free.
key ctrl+o
focus "$(window "Load File")"
xdotool type --delay 5 "$work/demo.lmx"
key Return
for _ in $(seq 50); do
    xdotool getwindowname "$main" | grep -qi demo && break
    sleep 0.1
done
shoot window-loaded.png

# Transmit; the inquiry to display 2 is the last packet.
focus "$main"
key F6
for _ in $(seq 100); do
    grep -q "^PACKET netnr=2 .*text='\\\\x1B\\\\xA62'" "$work/sim.out" 2>/dev/null && break
    sleep 0.1
done
shoot window-transmitted.png

# The settings dialogs, each left with Escape.
for d in "F3 General general" "F4 Display display"; do
    set -- $d
    focus "$main"
    key "$1"
    focus "$(window "$2 Settings")"
    shoot "settings-$3.png"
    key Escape
done
focus "$main"
key ctrl+q
for _ in $(seq 50); do
    [ -z "$(xdotool search --onlyvisible --name Orvanta 2>/dev/null)" ] && break
    sleep 0.1
done
