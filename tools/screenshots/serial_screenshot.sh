#!/usr/bin/env bash
# Screenshots of the serial settings dialog and the serial debug window under Xvfb.
#   tools/screenshots/serial_screenshot.sh [OUTPUT_DIR]     (default: build/screenshots)
# Builds build/ first when the gallery program is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
out=${1:-build/screenshots}
orvanta_need_target serial_gallery tools/screenshots
orvanta_start_xvfb 1280x900
build/tools/screenshots/serial_gallery "$out"
