#!/usr/bin/env bash
# Tries the Debian package as a new user would, on a clean Debian 12: builds the package and
# runs lintian on it, installs it with apt into a fresh bookworm tree, and there, as an
# ordinary user with a fresh home folder: the first start (one warning), F1, Ctrl+Q, the
# second start (no warning, the settings under ~/.config), F1 without a browser, orvanta
# FILE.lmx (its name in the title), the file type of command files, and the installed
# examples sent to lmx sim.
#
#   packaging/check-deb.sh [ROOT [SHOT_DIR]]
#
# ROOT is the Debian 12 tree to install into; it is made with debootstrap when it does not
# exist (default build-deb/root; a used tree is better thrown away, the package is then
# installed anew). SHOT_DIR receives the screenshots (default build-deb). The X server runs
# on display $CHECK_DEB_DISPLAY (default :97). Needs root and the network; not part of
# ./test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

root=$(realpath -m "${1:-build-deb/root}")
shots=$(realpath -m "${2:-build-deb}")
[ "$(id -u)" -eq 0 ] || { echo "check-deb.sh needs root (debootstrap, chroot)" >&2; exit 1; }

orvanta_install_packages debootstrap lintian
orvanta_build build-deb -DCMAKE_BUILD_TYPE=Release -DORVANTA_TESTS=OFF -DORVANTA_BENCH=OFF
(cd build-deb && rm -f orvanta_*.deb && cpack -G DEB)
deb=$(ls build-deb/orvanta_*_amd64.deb)
echo "== package: $deb"
dpkg-deb --field "$deb" Depends Recommends
echo "== lintian"
# Errors and warnings fail the check; the informational and pedantic tags are shown (the README
# explains the ones left).
lintian --info --display-info --pedantic --fail-on error,warning "$deb"

if [ ! -e "$root/etc/debian_version" ]; then
    echo "== debootstrap bookworm into $root"
    debootstrap --variant=minbase bookworm "$root"
fi

mounted=()
cleanup() {
    local m
    for m in "${mounted[@]}"; do umount -R "$m" 2>/dev/null || umount -lR "$m" 2>/dev/null; done
}
trap cleanup EXIT
for m in proc sys dev; do
    mkdir -p "$root/$m"
    if [ $m = proc ]; then mount -t proc proc "$root/proc"; else mount --rbind /$m "$root/$m"; fi
    mounted=("$root/$m" "${mounted[@]}")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"

in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin \
        HOME=/root LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"
}

echo "== apt-get install ./$(basename "$deb")"
cp "$deb" "$root/tmp/"
in_root apt-get update -q
in_root sh -c "cd /tmp && apt-get install -y -q --reinstall ./$(basename "$deb")"
echo "== installed files"
in_root dpkg -L orvanta | grep -E 'bin/|lib/orvanta|\.desktop|\.svg|mime|man1|examples/'
if in_root ldd /usr/lib/orvanta/orvanta | grep 'not found'; then
    echo "FAIL: libraries missing after the install" >&2
    exit 1
fi
in_root lmx --help >/dev/null || { echo "FAIL: lmx does not run" >&2; exit 1; }
in_root orvanta --version | grep -q '^orvanta ' || { echo "FAIL: orvanta --version" >&2; exit 1; }
echo "== the installed examples sent to the virtual display"
for f in "$root"/usr/share/doc/orvanta/examples/*.lmx; do
    example=/usr/share/doc/orvanta/examples/$(basename "$f")
    in_root lmx sim --netnr 1 --netnr 2 --link /tmp/lmx0 -- lmx send --port /tmp/lmx0 "$example" \
        >/dev/null || { echo "FAIL: $example" >&2; exit 1; }
    echo "sent: $example"
done

# Only for driving the window; the package itself needed none of these.
echo "== tools for the window check"
in_root apt-get install -y -q --no-install-recommends xvfb xauth xdotool x11-apps x11-utils
# A new user with an empty home folder every run.
in_root sh -c 'userdel -r tester >/dev/null 2>&1; useradd -m -s /bin/bash tester'
# What a booted system has and an ordinary user's X server cannot make.
in_root sh -c 'mkdir -p /tmp/.X11-unix && chown root:root /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix'
# The desktop's open action, recorded instead of carried out, until the script asks for the
# package's own xdg-open (there is no browser in the tree).
cat >"$root/usr/local/bin/xdg-open" <<'EOF'
#!/bin/sh
[ -e /tmp/real-xdg-open ] && exec /usr/bin/xdg-open "$@"
printf '%s\n' "$*" >>/tmp/opened.txt
EOF
chmod 755 "$root/usr/local/bin/xdg-open"

cat >"$root/tmp/try-orvanta.sh" <<'EOF'
#!/bin/bash
# Runs as the user tester inside the tree.
set -u
cd "$HOME"
rm -f /tmp/opened.txt /tmp/real-xdg-open /tmp/installed-*.xwd /tmp/orvanta.log
wait_for() {
    local end=$((SECONDS + $1)); shift
    until "$@"; do [ $SECONDS -ge $end ] && return 1; sleep 0.2; done
}
fail() { echo "FAIL: $*"; exit 1; }
export DISPLAY=$(cat /tmp/try-display)
# -noreset: the server stays as it is when a program's last window goes.
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp -noreset >/tmp/xvfb.log 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
wait_for 10 xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

pid=
windows() { xdotool search --onlyvisible --pid $pid 2>/dev/null; }
count() { windows | wc -l; }
count_is() { [ "$(count)" -eq "$1" ]; }
# The main window is the one as wide as the program's client area.
main_window() {
    local w WIDTH
    for w in $(windows); do
        eval "$(xdotool getwindowgeometry --shell "$w" | grep WIDTH)"
        [ "$WIDTH" -ge 700 ] && { echo "$w"; return 0; }
    done
    return 1
}
newest() { windows | tail -1; }
key() { xdotool windowfocus --sync "$(newest)" key "$1"; }
shot() { sleep 1; xwd -root -silent >"/tmp/installed-$1.xwd"; }
# Without a compositor a box over its window comes out black in a capture of the root; the
# box's own window holds its contents.
shot_box() { sleep 1; xwd -id "$(newest)" -silent >"/tmp/installed-$1.xwd"; }
# The main window, or a box that comes before it.
start() {
    orvanta "$@" >>/tmp/orvanta.log 2>&1 &
    pid=$!
    wait_for 20 count_is 1 || { cat /tmp/orvanta.log; fail "no window"; }
    sleep 2 # whatever else comes up meanwhile
}
quit() {
    key ctrl+q
    wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || fail "orvanta did not end on Ctrl+Q"
}

echo "-- first start, fresh home folder"
[ ! -e ~/.config/Orvanta ] || fail "the home folder is not fresh"
start
count_is 1 && ! main_window >/dev/null || fail "the first start shows no warning before the window"
shot first
shot_box first-box
key Return
wait_for 20 main_window >/dev/null || fail "no main window after the warning"
sleep 1
count_is 1 || fail "the first start shows more than one warning"
shot started
key F1
wait_for 10 test -s /tmp/opened.txt || fail "F1 opened nothing"
echo "F1 opened: $(cat /tmp/opened.txt)"
page=$(sed -n 's|^file://||p' /tmp/opened.txt | head -1)
[ "$page" = /usr/lib/orvanta/doc/lmxdoc.htm ] && [ -f "$page" ] || fail "no help page at '$page'"
sleep 1
count_is 1 || fail "a box after F1 with a browser"
quit
[ -f ~/.config/Orvanta/ORVANTA.SET ] || fail "no ~/.config/Orvanta/ORVANTA.SET after closing"
echo "settings: $(ls ~/.config/Orvanta/ORVANTA.SET)"
[ ! -e /usr/lib/orvanta/ORVANTA.SET ] || fail "settings written beside the program"

echo "-- second start: no warning; F1 with the package's xdg-open and no browser"
touch /tmp/real-xdg-open
start
main_window >/dev/null && count_is 1 || fail "the second start shows something besides the window"
shot second
key F1
wait_for 20 count_is 2 || fail "F1 without a browser said nothing"
shot_box no-browser
key Return
wait_for 10 count_is 1 || fail "the box stayed"
quit

echo "-- orvanta FILE.lmx"
example=/usr/share/doc/orvanta/examples/first-text.lmx
start "$example"
main_window >/dev/null || fail "no main window"
title() { xdotool getwindowname "$(main_window)"; }
wait_for 10 bash -c "xdotool getwindowname $(main_window) | grep -qF '$example'" \
    || fail "the title is '$(title)'"
echo "title: $(title)"
shot file
quit

echo "-- the desktop knows command files"
type=$(xdg-mime query filetype "$example")
[ "$type" = application/x-lmx ] || fail "file type '$type'"
handler=$(xdg-mime query default application/x-lmx)
[ "$handler" = orvanta.desktop ] || fail "default for application/x-lmx: '$handler'"
echo "$example: $type, opened by $handler"
echo "PASS"
EOF
chmod 755 "$root/tmp/try-orvanta.sh"
echo "${CHECK_DEB_DISPLAY:-:97}" >"$root/tmp/try-display"
echo "== orvanta under Xvfb as the user tester"
result=0
in_root su tester -s /bin/bash -c /tmp/try-orvanta.sh || result=1
mkdir -p "$shots"
for x in first first-box started second no-browser file; do
    [ -f "$root/tmp/installed-$x.xwd" ] && convert "xwd:$root/tmp/installed-$x.xwd" "$shots/installed-$x.png" \
        && echo "screenshot: $shots/installed-$x.png"
done
exit $result
