#!/usr/bin/env bash
# Pictures of the help page as a browser shows it (headless Chromium from Debian's
# packages): the whole page, and the same cut into screens help-1.png, help-2.png, ... to
# look at one by one.
#   tools/screenshots/help_page_screenshots.sh [OUTPUT_DIR]   (default: build/screenshots)
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/common.sh
out=$(realpath -m "${1:-build/screenshots}")
mkdir -p "$out"
orvanta_install_packages chromium
page=$(realpath doc/lmxdoc.htm)

profile=$(mktemp -d)
shot=$(mktemp --suffix=.png)
trap 'rm -rf "$profile" "$shot"' EXIT
chromium --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --hide-scrollbars --window-size=1000,15000 \
    --virtual-time-budget=5000 --screenshot="$shot" "file://$page" >/dev/null 2>&1
# The page ends where the white below it begins.
convert "$shot" -background white -trim +repage -bordercolor white -border 40 \
    "$out/help-page.png"
echo "$out/help-page.png"
rm -f "$out"/help-[0-9]*.png
convert "$out/help-page.png" -crop 1080x1400 +repage -scene 1 "$out/help-%d.png"
ls "$out"/help-[0-9]*.png
