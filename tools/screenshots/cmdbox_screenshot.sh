#!/usr/bin/env bash
# A screenshot of the command box and the hex box with nested blocks under Xvfb.
#   tools/screenshots/cmdbox_screenshot.sh [OUTPUT.png]     (default: build/screenshots/cmdbox.png)
# Builds build/ first when the gallery program is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
out=${1:-build/screenshots/cmdbox.png}
mkdir -p "$(dirname "$out")"
orvanta_need_target command_box_gallery tools/screenshots
orvanta_start_xvfb 800x460
orvanta_shoot_when_ready "$out" build/tools/screenshots/command_box_gallery "${out%.png}-window.png"
