#!/usr/bin/env bash
# The real main window at its first size, resized to 1400 x 1000 and maximised, after a
# transmission with failed answers (answer boxes off) and data answers, Packets tab in front.
# The last packet's inquiries bring back data enough for receive lines of 120 characters.
#   tools/screenshots/window_sizes.sh [OUTPUT_DIR]     (default: build/screenshots)
# Without a window manager the window is maximised by the program itself: it comes up
# maximised when its settings file says so.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
orvanta_real_window_setup "${1:-build/screenshots}" 1600x1200

orvanta_private_program --netnr 1 --netnr 2 --fault bad-crc --fault-every 4
# settings WINDOW_BLOCK_LINES...: the port above, failed answers without boxes.
settings() {
    scripts/write-settings.sh "$work/prog/ORVANTA.SET" "$work/pty"
    printf '%s\r\n' "object TWindowSettings" "$@" "  ShowAnswerBoxes = False" "end" \
        >>"$work/prog/ORVANTA.SET"
}

demo=("; display 1: texts, a break, an inquiry with its data answer"
      "SOT '01'" " STX '0A'" "  'Platform 1'" "  FPACK '00000'" "  'Departure 10:15'"
      " ETX" " ESC \$A6 '2'" "EOT"
      "SOT '02'" " 'Track closed'" " NPACK '00000'" " ESC \$A6 '2'" " 'Line 3'" "EOT"
      "SOT '01'" " 'Platform 2: a line long enough to show what a wide receive box does with it'"
      " ESC \$A6 '1'" " ESC \$A6 '2'" " ESC \$A6 '3'" " ESC \$A6 '2'" "EOT")
printf '%s\r\n' "${demo[@]}" >"$work/demo.lmx"

# run NAME: starts the program, loads the list, transmits and shows the failures it had.
run() {
    (cd "$work" && exec prog/orvanta demo.lmx) >"$work/app.out" 2>&1 &
    app=$!
    main=$(window "demo.lmx")
    focus "$main"
    : >"$work/sim.out"
    key F6
    for _ in $(seq 100); do
        [ "$(grep -c '^PACKET' "$work/sim.out")" -ge 8 ] && break
        sleep 0.1
    done
    sleep 0.5
}
# The failures flag beside the status text: a click lists them in the Packets tab.
list_failures() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove $((X + WIDTH - 65 - 50)) $((Y + HEIGHT - 10)) click 1
}
quit() {
    focus "$main"
    key ctrl+q
    wait "$app" 2>/dev/null || true
}

settings
run
shoot window-first-size.png
list_failures
xdotool windowmove --sync "$main" 0 0
xdotool windowsize --sync "$main" 1400 1000
shoot window-1400x1000.png
quit

settings "  Maximized = True"
run
list_failures
shoot window-maximised.png
quit
