#!/usr/bin/env bash
# The window program in a real X window against the virtual display: load a command file
# through the Load dialog, Transmit with F6, Export to txt file, add an NPACK line with its
# button, resize the window, close with Ctrl+Q and save the changed list through the save
# question; then start it again at the size it was left with.
#   real_window.sh ORVANTA LMX EXPECTED_DIR [tcp]
# With tcp the display sits behind a TCP port (tcp://127.0.0.1:PORT) as behind a serial
# device server, and is not there at the first F6: that one gives one message, the next works.
# Exit 77 (skip) only when Xvfb cannot start.
set -uo pipefail
orvanta=$1 lmx=$2 expected=$(cd "$3" && pwd) transport=${4:-pty}
deadline_s=${E2E_DEADLINE:-30}

work=$(mktemp -d /tmp/orvanta-e2e.XXXXXX)
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    [ -f "$work/sim.out" ] && sed 's/^/sim: /' "$work/sim.out" >&2
    [ -f "$work/orvanta.log" ] && sed 's/^/orvanta: /' "$work/orvanta.log" >&2
    exit 1
}

# wait_for SECONDS COMMAND...: polls the command until it succeeds.
wait_for() {
    local end=$((SECONDS + $1)); shift
    until "$@"; do
        [ $SECONDS -ge $end ] && return 1
        sleep 0.1
    done
}

# X server on a display number it picks itself and writes to fd 3, so that tests running side
# by side never take the same one.
display=
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/x-display-number" >"$work/xvfb.log" 2>&1 &
pids+=($!)
numbered() { grep -q '^[0-9]' "$work/x-display-number" 2>/dev/null || ! kill -0 "${pids[-1]}" 2>/dev/null; }
if wait_for 10 numbered && grep -q '^[0-9]' "$work/x-display-number"; then
    display=:$(head -n 1 "$work/x-display-number")
    xdpyinfo -display "$display" >/dev/null 2>&1 || display=
fi
if [ -z "$display" ]; then
    echo "SKIP: Xvfb cannot start ($(tail -1 "$work/xvfb.log" 2>/dev/null))"
    exit 77
fi
export DISPLAY=$display QT_QPA_PLATFORM=xcb
unset QT_QPA_PLATFORMTHEME

# The virtual display, reachable by a fixed path, or by a TCP port that is closed for now.
if [ "$transport" = tcp ]; then
    "$lmx" sim --listen 0 >"$work/sim.out" 2>&1 &
    pids+=($!)
    wait_for 10 grep -q '^tcp://' "$work/sim.out" || fail "lmx sim gave no TCP port"
    port=$(head -1 "$work/sim.out")
    kill "${pids[-1]}"; wait "${pids[-1]}" 2>/dev/null; unset 'pids[-1]'
else
    port=$work/display
    "$lmx" sim --netnr 1 --netnr 2 --link "$port" >"$work/sim.out" 2>&1 &
    pids+=($!)
    wait_for 10 test -e "$port" || fail "lmx sim gave no terminal"
fi

# The program in a folder of its own with its settings file and help page.
mkdir -p "$work/prog/doc" "$work/files"
cp "$orvanta" "$work/prog/orvanta"
cp "$(dirname "$orvanta")/doc/lmxdoc.htm" "$work/prog/doc/"
sed "s|@PORT@|$port|" "$expected/ORVANTA.SET.in" >"$work/prog/ORVANTA.SET"
cp "$expected/real_window.lmx" "$work/files/demo.lmx"
cd "$work/files"
"$work/prog/orvanta" >"$work/orvanta.log" 2>&1 &
orvanta_pid=$!
pids+=($orvanta_pid)

# The visible top-level windows of the program, newest last.
windows() { xdotool search --onlyvisible --pid "$orvanta_pid" 2>/dev/null; }
count_is() { [ "$(windows | wc -l)" -eq "$1" ]; }
main_window() { windows | head -1; }
# The window that appeared last gets the keyboard (there is no window manager).
focus_newest() { xdotool windowfocus --sync "$(windows | tail -1)"; }
keys() { focus_newest && xdotool key --delay 30 "$@"; }
type_text() { focus_newest && xdotool type --delay 10 "$1"; }

wait_for "$deadline_s" count_is 1 || fail "no main window"
keys ctrl+o
wait_for "$deadline_s" count_is 2 || fail "no Load dialog"
type_text "$work/files/demo.lmx"; keys Return
wait_for "$deadline_s" count_is 1 || fail "the Load dialog stayed open"

# Transmit; the display reports every packet.
packets=$(grep -c . "$expected/real_window.packets" 2>/dev/null)
# E2E_RECORD=1 writes what this run gives as the expected files, to be looked over.
if [ "${E2E_RECORD:-0}" = 1 ]; then
    packets=${E2E_PACKETS:-5}
fi
if [ "$transport" = tcp ]; then
    # Nobody listens: one message, then the display comes up on that port.
    keys F6
    wait_for "$deadline_s" count_is 2 || fail "no message for a server that is not there"
    [ -n "${E2E_SHOT:-}" ] && import -window root "${E2E_SHOT%.png}-refused.png"
    keys Return
    wait_for 5 count_is 1 || fail "more than one message for a server that is not there"
    "$lmx" sim --netnr 1 --netnr 2 --listen "${port#tcp://}" >"$work/sim.out" 2>&1 &
    pids+=($!)
    wait_for 10 grep -q "^$port\$" "$work/sim.out" || fail "lmx sim did not listen on $port again"
fi
keys F6
wait_for "$deadline_s" bash -c "[ \$(grep -c '^PACKET' '$work/sim.out') -ge $packets ]" \
    || fail "the display saw fewer than $packets packets"
[ -n "${E2E_SHOT:-}" ] && { sleep 1; import -window root "$E2E_SHOT"; }

# Export until the receive box holds the whole transmission.
masked() { tr -d '\r' <"$1" | sed -E 's/[0-9]{2}:[0-9]{2}:[0-9]{2}([:.][0-9]{3})?/HH:MM:SS/g'; }
export_txt() {
    rm -f "$work/files/out.TXT"
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
    # The File menu by mouse (it has no shortcut), then its fourth item, Export to txt file.
    xdotool mousemove $((X + 15)) $((Y + 10)) click 1
    wait_for 5 bash -c "[ \$(xdotool search --onlyvisible --pid $orvanta_pid | wc -l) -ge 2 ]" || return 1
    xdotool key --delay 30 Down Down Down Down Return
    wait_for 5 count_is 2 || return 1
    type_text "$work/files/out.TXT"; keys Return
    wait_for 5 count_is 1 && wait_for 5 test -s "$work/files/out.TXT"
}
matches() { export_txt && diff <(masked "$work/files/out.TXT") "$expected/real_window.txt" >"$work/diff"; }
if [ "${E2E_RECORD:-0}" = 1 ]; then
    sleep 2; export_txt; masked "$work/files/out.TXT" >"$expected/real_window.txt"
    grep '^PACKET' "$work/sim.out" >"$expected/real_window.packets"
fi
wait_for "$deadline_s" matches || { cat "$work/diff" >&2; fail "export differs"; }

# What the display received, without the time-dependent parts.
grep '^PACKET' "$work/sim.out" >"$work/packets"
diff "$work/packets" "$expected/real_window.packets" || fail "the display received other packets"

# A change to the list: the NPACK button, its wait dialog taken as it stands.
eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
xdotool mousemove $((X + 54)) $((Y + 312)) click 1
wait_for 5 count_is 2 || fail "no wait dialog for the NPACK"
keys Return
wait_for 5 count_is 1 || fail "the wait dialog stayed open"

# The window grows: resized by the window system, it lays itself out anew and keeps the size.
size_is() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$(main_window)")"
    [ "$WIDTH" -eq "$1" ] && [ "$HEIGHT" -eq "$2" ]
}
xdotool windowsize --sync "$(main_window)" 1100 800
wait_for 5 size_is 1100 800 || fail "the window did not take the size 1100 x 800"
[ -n "${E2E_SHOT:-}" ] && { sleep 0.5; import -window root "${E2E_SHOT%.png}-resized.png"; }

# Close: the save question is answered Yes, the save dialog gets a new name.
newest() { windows | tail -1; }
keys ctrl+q
wait_for 5 count_is 2 || fail "no save question at closing"
question=$(newest)
xdotool windowfocus --sync "$question" && xdotool key y
wait_for 5 bash -c "[ \"\$(xdotool search --onlyvisible --pid $orvanta_pid | tail -1)\" != $question ]" \
    || fail "no save dialog after Yes"
wait_for 5 count_is 2 || fail "no save dialog after Yes"
type_text "$work/files/saved.lmx"; keys Return
closed() { ! kill -0 "$orvanta_pid" 2>/dev/null; }
wait_for "$deadline_s" closed || fail "the program did not end"
[ "${E2E_RECORD:-0}" = 1 ] && cp "$work/files/saved.lmx" "$expected/real_window.saved"
cmp "$work/files/saved.lmx" "$expected/real_window.saved" || fail "the saved list differs"
cmp "$work/files/demo.lmx" "$expected/real_window.lmx" || fail "the loaded file was changed"

# The size is kept in the settings file, and the next start comes up with it.
grep -q $'^  Width = 1100\r$' "$work/prog/ORVANTA.SET" && grep -q $'^  Height = 800\r$' "$work/prog/ORVANTA.SET" \
    || fail "the settings file does not keep the size: $(tr -d '\r' <"$work/prog/ORVANTA.SET" | tail -10)"
"$work/prog/orvanta" >>"$work/orvanta.log" 2>&1 &
orvanta_pid=$!
pids+=($orvanta_pid)
wait_for "$deadline_s" count_is 1 || fail "no main window at the second start"
wait_for 5 size_is 1100 800 || fail "the second start did not come up at 1100 x 800"
keys ctrl+q
wait_for "$deadline_s" closed || fail "the program did not end the second time"
echo "PASS"
