#!/usr/bin/env bash
# A screenshot of the command buttons test window under Xvfb (further arguments go to it).
#   tools/screenshots/commands_screenshot.sh [OUTPUT.png [--basic|--keydef]]
#   (default: build/screenshots/commands.png)
# Builds build/ first when the test window program is missing.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/xvfb.sh
out=${1:-build/screenshots/commands.png}
shift || true
mkdir -p "$(dirname "$out")"
orvanta_need_target commands_harness tools/screenshots
orvanta_start_xvfb 800x600
orvanta_shoot_when_ready "$out" build/tools/screenshots/commands_harness "${out%.png}-window.png" "$@"
