#!/usr/bin/env bash
# Writes a settings file with the default settings and the given serial port.
#   scripts/write-settings.sh FILE PORT
# The file is written CR LF, as the program writes it; an existing file is replaced.
set -euo pipefail
if [ $# -ne 2 ]; then
    echo "usage: $0 FILE PORT" >&2
    exit 2
fi
file=$1
port=$2
# A quote inside a quoted value is written twice.
quoted=${port//\'/\'\'}
tmp=$(mktemp "$(dirname "$file")/.settings.XXXXXX")
trap 'rm -f "$tmp"' EXIT
printf '%s\r\n' \
    "object TSerialSettings" \
    "  PortName = '$quoted'" \
    "  Baudrate = '19200'" \
    "  DataBits = 3" \
    "  Parity = 0" \
    "  StopBits = 0" \
    "  HwFlow = 1" \
    "  SwFlow = 0" \
    "  DTRCtrl = 0" \
    "end" \
    "object TDisplaySettings" \
    "  NetNr = 1" \
    "end" \
    "object TGeneralSettings" \
    "  ShowMainToolBar = True" \
    "  CheckFileReplace = True" \
    "  ShowSerialDebug = False" \
    "  ExtendedLmx = True" \
    "  SaveKeys = True" \
    "  ClearKeys = False" \
    "  DebugFile = False" \
    "  CreateDebugFile = True" \
    "  AppendDebugFile = False" \
    "end" >"$tmp"
mv "$tmp" "$file"
trap - EXIT
