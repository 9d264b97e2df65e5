#!/usr/bin/env bash
# The pictures of the help page (doc/images/), taken from the real window under Xvfb: the
# first-text walkthrough against a virtual display, the boxes the troubleshooting section
# explains (the first start, a port that does not open, F1 without a browser), and repeat
# runs to two displays with the Repeat Transmission dialog, the Statistics tab and the
# Packets tab. The README's picture is walk-5-receive.png.
#   tools/screenshots/help_screenshots.sh [OUTPUT_DIR]     (default: doc/images)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
orvanta_real_window_setup "${1:-doc/images}" 1024x768

orvanta_private_program

# The program runs as /opt/orvanta/orvanta, where an unpacked copy might live, so that no
# temporary folder shows in a picture (the box of F1 without a browser names the help page's
# path): a mount namespace of its own puts the private copy there. Without one (not root)
# the copy runs where it is, and the script says so.
program=(prog/orvanta)
if [ "$(id -u)" -eq 0 ] && unshare -m true 2>/dev/null; then
    program=(/usr/bin/unshare -m /bin/sh -c '/bin/mount -t tmpfs orvanta /opt && /bin/mkdir /opt/orvanta &&
        /bin/mount --bind "$0" /opt/orvanta && exec /opt/orvanta/orvanta "$@"' "$work/prog")
else
    echo "note: no mount namespace (not root): the pictures show the folder $work/prog" >&2
fi

app=
# start PATH [ARGS...]: the program with that PATH (xdg-open found on it, or not).
start() {
    local path=$1
    shift
    (cd "$work" && exec env PATH="$path" "${program[@]}" "$@") >>"$work/app.out" 2>&1 &
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

# Repeat runs to two displays that spoil one answer in ten at random (the same ones every
# time), in a larger window so that every tab shows.
build/cli/lmx sim --netnr 1 --netnr 2 --line-rate 19200 --fault bad-crc --fault-rate 0.1 \
    --seed 5 --link "$work/pty2" >"$work/sim2.out" 2>&1 &
orvanta_xvfb_pids=("$!" "${orvanta_xvfb_pids[@]}")
for _ in $(seq 50); do [ -e "$work/pty2" ] && break; sleep 0.1; done
scripts/write-settings.sh "$work/prog/ORVANTA.SET" "$work/pty2"
cp examples/two-displays.lmx "$work/"
start /usr/bin:/bin two-displays.lmx
wait_count 1
xdotool windowsize "$(main)" 1000 720
xdotool windowmove "$(main)" 12 12
sleep 1
focus "$(main)"
tab() { # the tabs beside Hex Data, in the window of 1000 x 720
    case $1 in Packets) click 760 65 ;; Statistics) click 835 65 ;; esac
}
# Transmit > Repeat Transmission...: the third menu, its third item.
click 112 8
xdotool key Down Down Down Return
wait_count 2
dialog=$(newest)
# 500 runs, one every 250 ms, ending after 20 failed runs.
entry() {
    xdotool mousemove --window "$dialog" "$1" "$2" click 1
    xdotool key ctrl+a
    xdotool type --delay 5 "$3"
}
entry 180 22 500
entry 180 79 250
xdotool mousemove --window "$dialog" 18 108 click 1
entry 180 108 20
shoot_box repeat-dialog.png
key Return
wait_count 1
sleep 10
tab Statistics
shoot statistics.png
# Esc ends the runs; one more transmission fills the Packets tab, its first exchange opened.
key Escape
sleep 2
tab Packets
key F6
sleep 3
click 640 127
shoot packets.png
stop
