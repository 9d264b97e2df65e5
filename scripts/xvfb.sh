# Shared by the screenshot scripts: a private Xvfb and programs shown on it. Sourced, not run.
# Call from the repository root.

orvanta_xvfb_pids=()
orvanta_xvfb_cleanup() {
    local p
    for p in "${orvanta_xvfb_pids[@]}"; do kill "$p" 2>/dev/null || true; done
}

# orvanta_need_target TARGET DIR: builds TARGET in build/ when build/DIR/TARGET is missing.
orvanta_need_target() {
    if [ ! -x "build/$2/$1" ]; then
        cmake -S . -B build -G Ninja >/dev/null
        cmake --build build --target "$1"
    fi
}

# orvanta_start_xvfb WIDTHxHEIGHT: starts Xvfb on a free display (or on the number in
# $ORVANTA_XVFB_DISPLAY), exports DISPLAY and QT_QPA_PLATFORM=xcb, and stops it again when
# the script exits.
orvanta_start_xvfb() {
    local n=${ORVANTA_XVFB_DISPLAY:-} numbered
    n=${n#:}
    numbered=$(mktemp)
    if [ -n "$n" ]; then
        Xvfb ":$n" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
    else
        # The server picks a free number itself: scripts running side by side never share one.
        Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$numbered" >/dev/null 2>&1 &
    fi
    orvanta_xvfb_pids+=($!)
    trap orvanta_xvfb_cleanup EXIT
    for _ in $(seq 100); do
        [ -n "$n" ] || n=$(head -n 1 "$numbered")
        if [ -n "$n" ]; then
            export DISPLAY=":$n" QT_QPA_PLATFORM=xcb
            xdpyinfo >/dev/null 2>&1 && { rm -f "$numbered"; return 0; }
        fi
        sleep 0.1
    done
    rm -f "$numbered"
    echo "Xvfb did not start" >&2
    return 1
}

# orvanta_shoot_when_ready OUT.png PROGRAM [ARGS...]: starts PROGRAM, waits until it prints
# "ready" on stdout, then takes a screenshot of the whole screen into OUT.png.
orvanta_shoot_when_ready() {
    local out=$1 fifo line
    shift
    fifo=$(mktemp -u)
    mkfifo "$fifo"
    "$@" >"$fifo" &
    orvanta_xvfb_pids=("$!" "${orvanta_xvfb_pids[@]}")
    read -r -t 30 line <"$fifo" || true
    rm -f "$fifo"
    if [ "$line" != ready ]; then
        echo "$1 did not start" >&2
        return 1
    fi
    import -window root "$out"
    echo "$out"
}

# orvanta_private_program [SIM ARGS...]: a temporary folder $work (removed at exit) with a
# private copy of the window program and its help page in $work/prog (the program reads its
# settings beside itself), and a virtual display on the terminal $work/pty (its output in
# $work/sim.out), started with the given lmx sim arguments.
orvanta_private_program() {
    work=$(mktemp -d)
    trap 'orvanta_xvfb_cleanup; rm -rf "$work"' EXIT
    mkdir -p "$work/prog/doc"
    cp build/app/orvanta "$work/prog/"
    cp doc/lmxdoc.htm "$work/prog/doc/"
    build/cli/lmx sim "$@" --link "$work/pty" >"$work/sim.out" 2>&1 &
    orvanta_xvfb_pids=("$!" "${orvanta_xvfb_pids[@]}")
    for _ in $(seq 50); do [ -e "$work/pty" ] && break; sleep 0.1; done
}

# orvanta_real_window_setup OUTPUT_DIR WIDTHxHEIGHT: for the scripts that shoot the real
# window: $out (made absolute and created), orvanta and lmx built, Xvfb started.
orvanta_real_window_setup() {
    out=$(realpath -m "$1")
    mkdir -p "$out"
    orvanta_need_target orvanta app
    orvanta_need_target lmx cli
    orvanta_start_xvfb "$2"
}

# For the scripts that drive the real window with xdotool (there is no window manager): the
# first visible window whose name matches, the keyboard focus given by hand, keys as typed, and
# a screenshot of the whole screen into $out once the window has painted.
window() { timeout 10 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }
focus() { xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true; }
key() { xdotool key --clearmodifiers "$@"; }
shoot() {
    sleep 0.7 # let the window finish painting
    import -window root "$out/$1"
    echo "$out/$1"
}
