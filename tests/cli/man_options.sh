#!/usr/bin/env bash
# Every option that `lmx COMMAND --help` names is described in lmx.1 under that command, and
# the manual page describes none that the program does not take.
#   man_options.sh LMX LMX.1
set -uo pipefail
lmx=$1 page=$2

# The options of the help text: its usage lines and its indented option lines.
help_options() {
    "$lmx" "$1" --help | awk '
        /^usage:|^       *\[/ { while (match($0, /\[--[a-z0-9-]+/)) {
                                   print substr($0, RSTART + 1, RLENGTH - 1)
                                   $0 = substr($0, RSTART + RLENGTH) } next }
        /^  --[a-z0-9]/ { sub(/^  /, ""); sub(/[ =[].*/, ""); print }' | sort -u
}

# The options the manual page gives an item of its own in the section ".SS "lmx COMMAND"".
man_options() {
    awk -v section=".SS \"lmx $1\"" '
        $0 == section { on = 1; next }
        /^\.S[HS]/ { on = 0 }
        on && item && match($0, /\\-\\-[a-z0-9\\-]+/) {
            name = substr($0, RSTART, RLENGTH); gsub(/\\/, "", name); print name }
        { item = on && $0 == ".TP" }' "$page" | sort -u
}

failed=0
for command in check send scan sim; do
    in_help=$(help_options $command)
    in_man=$(man_options $command)
    # --help is described once for every command
    in_help=$(grep -vx -- '--help' <<<"$in_help")
    [ -n "$in_help" ] || { echo "FAIL: no options read from lmx $command --help"; failed=1; }
    missing=$(comm -23 <(echo "$in_help") <(echo "$in_man"))
    extra=$(comm -13 <(echo "$in_help") <(echo "$in_man"))
    [ -z "$missing" ] || { echo "FAIL: lmx.1 leaves out of lmx $command:" $missing; failed=1; }
    [ -z "$extra" ] || { echo "FAIL: lmx.1 describes for lmx $command what --help does not:" $extra; failed=1; }
done
[ $failed -eq 0 ] && echo PASS
exit $failed
