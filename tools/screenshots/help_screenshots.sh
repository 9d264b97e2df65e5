#!/usr/bin/env bash
# The pictures of the help page (doc/images/), taken from the real window under Xvfb: the
# first-text walkthrough against a virtual display, and the boxes the troubleshooting
# section explains (the first start, a port that does not open, F1 without a browser).
#   tools/screenshots/help_screenshots.sh [OUTPUT_DIR]     (default: doc/images)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
orvanta_real_window_setup "${1:-doc/images}" 1024x768

orvanta_private_program

app=
start() {
    (cd "$work" && exec env PATH="$1" prog/orvanta) >>"$work/app.out" 2>&1 &
    app=$!
    orvanta_xvfb_pids=("$app" "${orvanta_xvfb_pids[@]}")
    for _ in $(seq 100); do [ -n "$(windows)" ] && break; sleep 0.1; done
    sleep 1
}
stop() {
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
}
windows() { xdotool search --onlyvisible --pid "$app" 2>/dev/null; }
count() { windows | wc -l; }
wait_count() {
    for _ in $(seq 100); do [ "$(count)" -eq "$1" ] && return 0; sleep 0.1; done
    echo "expected $1 windows, have $(count)" >&2
    return 1
}
main() { windows | head -n 1; }
newest() { windows | tail -n 1; }
focus() { xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true; }
key() { focus "$(newest)"; xdotool key --clearmodifiers "$@"; }
# A point of the main window, in its own coordinates.
click() { xdotool mousemove --window "$(main)" "$1" "$2" click 1; sleep 0.3; }
# The main window's area of the screen (a box over it included), or a window of its own.
shoot() {
    sleep 0.5
    eval "$(xdotool getwindowgeometry --shell "$(main)")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage -strip "$work/shot.png"
    convert "$work/shot.png" -colors 128 "PNG8:$out/$1"
    echo "$out/$1"
}
shoot_box() {
    sleep 0.5
    import -window "$(newest)" -strip "$work/shot.png"
    convert "$work/shot.png" -colors 128 "PNG8:$out/$1"
    echo "$out/$1"
}

# The first start: no settings file beside the program yet. The warning comes before the
# window.
start /usr/bin:/bin
wait_count 1
shoot_box trouble-first-start.png
key Return
sleep 1
stop

# The walkthrough, with the virtual display as the port.
scripts/write-settings.sh "$work/prog/ORVANTA.SET" "$work/pty"
start /usr/bin:/bin
wait_count 1
click 52 84           # Display
wait_count 2
shoot walk-1-display.png
key Return
wait_count 1
click 180 95          # the EOT line: new lines go in above it
shoot walk-2-eot.png
click 418 363         # Plain Text
wait_count 2
xdotool type --delay 20 "Hello, world"
shoot walk-3-text.png
key Return
wait_count 1
shoot walk-4-list.png
key F6
for _ in $(seq 100); do grep -q '^PACKET' "$work/sim.out" && break; sleep 0.1; done
sleep 0.5
shoot walk-5-receive.png

# A port that does not open: its message with the system's reason.
key F5
wait_count 2
key ctrl+a
xdotool type --delay 10 "/dev/ttyUSB7"
key Return
wait_count 1
key F6
wait_count 2
shoot_box trouble-port.png
key Return
wait_count 1

# F1 where no browser can be started (nothing on the PATH opens the page).
stop
start /nonexistent
wait_count 1
key F1
wait_count 2
shoot_box trouble-no-browser.png
key Return
stop
