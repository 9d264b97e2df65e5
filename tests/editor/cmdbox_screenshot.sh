#!/usr/bin/env bash
# A screenshot of the command box and the hex box with nested blocks under Xvfb.
#   tests/editor/cmdbox_screenshot.sh [OUTPUT.png]     (default: build/screenshots/cmdbox.png)
# Builds build/ first when the gallery program is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
out=${1:-build/screenshots/cmdbox.png}
mkdir -p "$(dirname "$out")"
orvanta_need_target command_box_gallery tests/editor
orvanta_start_xvfb 800x460
orvanta_shoot_when_ready "$out" build/tests/editor/command_box_gallery "${out%.png}-window.png"
