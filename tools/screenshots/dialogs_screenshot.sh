#!/usr/bin/env bash
# Screenshots of every parameter dialog, valid and invalid, under Xvfb.
#   tools/screenshots/dialogs_screenshot.sh [OUTPUT_DIR]     (default: build/screenshots)
# Builds build/ first when the gallery program is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
out=${1:-build/screenshots}
orvanta_need_target dialog_gallery tools/screenshots
orvanta_start_xvfb 1280x900
build/tools/screenshots/dialog_gallery "$out"
