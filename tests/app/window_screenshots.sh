#!/usr/bin/env bash
# Screenshots of the real main window under Xvfb, attached to a virtual display on a
# pseudo-terminal: as it shows itself at start (the command file below lies ready beside it
# for trying Load and Transmit by hand), then the general and the display settings dialogs.
#   tests/app/window_screenshots.sh [OUTPUT_DIR]     (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
out=$(realpath -m "${1:-build/screenshots}")
mkdir -p "$out"
orvanta_need_target orvanta app
orvanta_need_target lmx cli
orvanta_start_xvfb 1024x768

work=$(mktemp -d)
cleanup() {
    orvanta_xvfb_cleanup
    rm -rf "$work"
}
trap cleanup EXIT

# The program reads its settings beside itself: a private copy of it with its help page.
mkdir -p "$work/prog/doc"
cp build/app/orvanta "$work/prog/"
cp doc/lmxdoc.htm "$work/prog/doc/"
build/cli/lmx sim --netnr 1 --netnr 2 --link "$work/pty" >"$work/sim.out" 2>&1 &
orvanta_xvfb_pids=("$!" "${orvanta_xvfb_pids[@]}")
for _ in $(seq 50); do [ -e "$work/pty" ] && break; sleep 0.1; done
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
app=$!

window() { timeout 10 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
shoot() {
    sleep 0.5 # let the window finish painting
    import -window root "$out/$1"
    echo "$out/$1"
}
key() { xdotool key --clearmodifiers "$@"; }

# Without a window manager the keyboard focus is given by hand.
focus() { xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true; }
main=$(window "Orvanta")
focus "$main"
shoot window-start.png


# The general and the display settings dialogs, each closed again with Escape.
settings_shot() {
    focus "$main"
    xdotool key --delay 30 "$1"
    for _ in $(seq 50); do
        [ "$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | wc -l)" -gt 1 ] && break
        sleep 0.1
    done
    shoot "$2"
    xdotool key --delay 30 Escape
    sleep 0.3
}
settings_shot F3 general-settings.png
settings_shot F4 display-settings.png
