#!/usr/bin/env bash
# Screenshots under Xvfb from one of the gallery programs: every parameter dialog, valid and
# invalid (dialogs), or the serial settings dialog and the serial debug window (serial).
#   tools/screenshots/gallery_screenshots.sh dialogs|serial [OUTPUT_DIR]
#                                                      (default: build/screenshots)
# Builds build/ first when the gallery program is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
case "${1:-}" in
    dialogs) gallery=dialog_gallery ;;
    serial) gallery=serial_gallery ;;
    *) echo "usage: $0 dialogs|serial [OUTPUT_DIR]" >&2; exit 2 ;;
esac
out=${2:-build/screenshots}
orvanta_need_target "$gallery" tools/screenshots
orvanta_start_xvfb 1280x900
"build/tools/screenshots/$gallery" "$out"
