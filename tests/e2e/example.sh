#!/usr/bin/env bash
# One command file of examples/: lmx check reads it, and lmx send transmits it to lmx sim,
# which runs the send once its terminal is there; every answer must be OK and the display
# (or lmx send) must have printed the expected line.
#   example.sh LMX FILE.lmx EXPECTED_LINE
set -uo pipefail
lmx=$1 file=$2 expected=$3
work=$(mktemp -d /tmp/orvanta-example.XXXXXX)
trap 'rm -rf "$work"' EXIT

"$lmx" check "$file" >"$work/check.txt" || { echo "FAIL: lmx check $file"; exit 1; }
grep -q '^--------- COMMAND DATA' "$work/check.txt" || { echo "FAIL: no command data"; exit 1; }

"$lmx" sim --netnr 1 --netnr 2 --link "$work/port" --show -- \
    "$lmx" send --port "$work/port" "$file" >"$work/out.txt" 2>&1
status=$?
cat "$work/out.txt"
[ $status -eq 0 ] || { echo "FAIL: exit status $status"; exit 1; }
grep -q ' Transmission finished\.' "$work/out.txt" || { echo "FAIL: not finished"; exit 1; }
grep -qF -- "$expected" "$work/out.txt" || { echo "FAIL: no line with: $expected"; exit 1; }
echo PASS
