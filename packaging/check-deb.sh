#!/usr/bin/env bash
# Tries the Debian package as a new user would, on a clean Debian 12: builds the package,
# installs it with apt into a fresh bookworm tree, starts orvanta there under Xvfb as an
# ordinary user, takes a screenshot of the window and presses F1.
#
#   packaging/check-deb.sh [ROOT [SHOT_DIR]]
#
# ROOT is the Debian 12 tree to install into; it is made with debootstrap when it does not
# exist (default build-deb/root; a used tree is better thrown away, the package is then
# installed anew). SHOT_DIR receives the screenshots (default build-deb). Needs root and the
# network; not part of ./test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

root=$(realpath -m "${1:-build-deb/root}")
shots=$(realpath -m "${2:-build-deb}")
[ "$(id -u)" -eq 0 ] || { echo "check-deb.sh needs root (debootstrap, chroot)" >&2; exit 1; }

orvanta_install_packages debootstrap
orvanta_build build-deb -DCMAKE_BUILD_TYPE=Release -DORVANTA_TESTS=OFF -DORVANTA_BENCH=OFF
(cd build-deb && rm -f orvanta_*.deb && cpack -G DEB)
deb=$(ls build-deb/orvanta_*_amd64.deb)
echo "== package: $deb"
dpkg-deb --field "$deb" Depends Recommends

if [ ! -e "$root/etc/debian_version" ]; then
    echo "== debootstrap bookworm into $root"
    debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
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
in_root sh -c "cd /tmp && apt-get install -y -q ./$(basename "$deb")"
echo "== installed files"
in_root dpkg -L orvanta | grep -E 'bin/|lib/orvanta|\.desktop|\.svg'
if in_root ldd /usr/lib/orvanta/orvanta | grep 'not found'; then
    echo "FAIL: libraries missing after the install" >&2
    exit 1
fi
in_root lmx --help >/dev/null || { echo "FAIL: lmx does not run" >&2; exit 1; }

# Only for driving the window; the package itself needed none of these.
echo "== tools for the window check"
in_root apt-get install -y -q --no-install-recommends xvfb xauth xdotool x11-apps x11-utils
in_root sh -c 'id tester >/dev/null 2>&1 || useradd -m tester'
# The desktop's open action, recorded instead of carried out.
cat >"$root/usr/local/bin/xdg-open" <<'EOF'
#!/bin/sh
printf '%s\n' "$*" >>/tmp/opened.txt
EOF
chmod 755 "$root/usr/local/bin/xdg-open"

cat >"$root/tmp/try-orvanta.sh" <<'EOF'
#!/bin/bash
# Runs as the user tester inside the tree.
set -u
cd "$HOME"
rm -f /tmp/opened.txt /tmp/*.xwd
wait_for() {
    local end=$((SECONDS + $1)); shift
    until "$@"; do [ $SECONDS -ge $end ] && return 1; sleep 0.2; done
}
Xvfb :97 -screen 0 1024x768x24 -nolisten tcp >/tmp/xvfb.log 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
export DISPLAY=:97
wait_for 10 xdpyinfo >/dev/null 2>&1 || { echo "FAIL: Xvfb did not start"; exit 1; }
orvanta >/tmp/orvanta.log 2>&1 &
pid=$!
windows() { xdotool search --onlyvisible --pid $pid 2>/dev/null; }
has_window() { [ -n "$(windows)" ]; }
wait_for 20 has_window || { echo "FAIL: no window"; cat /tmp/orvanta.log; exit 1; }
# The main window is the one as wide as the program's client area; anything before it (the
# first start has no settings file yet) is looked at and answered.
main_window() {
    local w WIDTH
    for w in $(windows); do
        eval "$(xdotool getwindowgeometry --shell "$w" | grep WIDTH)"
        [ "$WIDTH" -ge 700 ] && { echo "$w"; return 0; }
    done
    return 1
}
sleep 1
if ! main_window >/dev/null; then
    xwd -root -silent >/tmp/first.xwd
    xdotool windowfocus --sync "$(windows | tail -1)" key Return
    wait_for 20 main_window >/dev/null || { echo "FAIL: no main window"; exit 1; }
    sleep 1
fi
xwd -root -silent >/tmp/started.xwd
xdotool windowfocus --sync "$(windows | tail -1)" key F1
wait_for 10 test -s /tmp/opened.txt || { echo "FAIL: F1 opened nothing"; exit 1; }
echo "F1 opened: $(cat /tmp/opened.txt)"
page=$(sed -n 's|^file://||p' /tmp/opened.txt | head -1)
[ -f "$page" ] || { echo "FAIL: no help page at '$page'"; exit 1; }
xdotool windowfocus --sync "$(windows | tail -1)" key ctrl+q
box_or_gone() { [ "$(windows | wc -l)" -ge 2 ] || ! kill -0 $pid 2>/dev/null; }
wait_for 10 box_or_gone
sleep 1 # painted
# What closing says in a folder the user may not write: looked at, then answered.
if kill -0 $pid 2>/dev/null && has_window; then
    xwd -root -silent >/tmp/closing.xwd
    # Without a compositor a dialog over its window comes out black in a capture of the root;
    # the box's own window holds its contents.
    xwd -id "$(windows | tail -1)" -silent >/tmp/closing-box.xwd
    xdotool windowfocus --sync "$(windows | tail -1)" key Return
fi
wait_for 10 bash -c "! kill -0 $pid 2>/dev/null" || { echo "FAIL: orvanta did not end"; exit 1; }
echo "PASS"
EOF
chmod 755 "$root/tmp/try-orvanta.sh"
echo "== orvanta under Xvfb as the user tester"
result=0
in_root su tester -s /bin/bash -c /tmp/try-orvanta.sh || result=1
for x in first started closing closing-box; do
    [ -f "$root/tmp/$x.xwd" ] && convert "xwd:$root/tmp/$x.xwd" "$shots/installed-$x.png" \
        && echo "screenshot: $shots/installed-$x.png"
done
exit $result
