#!/usr/bin/env bash
# Runs the README's example commands exactly as they stand, from the top of the tree with
# the built lmx first on PATH; each must exit 0. The commands are the indented lines below
# the README's line "<!-- commands run by tests/e2e/readme_commands.sh -->".
#   readme_commands.sh README.md LMX_DIR
set -uo pipefail
readme=$(realpath "$1") lmx_dir=$(realpath "$2")
cd "$(dirname "$readme")"
export PATH="$lmx_dir:$PATH"

mapfile -t commands < <(awk '
    /<!-- commands run by tests\/e2e\/readme_commands.sh -->/ { on = 1; next }
    on && /^    [^ ]/ { sub(/^    /, ""); print; next }
    on && /^$/ { next }
    on { on = 0 }' "$readme")
[ ${#commands[@]} -gt 0 ] || { echo "FAIL: no commands found in $readme"; exit 1; }

# The commands use a fixed link under /tmp; two runs on one machine take turns.
exec 9>/tmp/orvanta-readme-commands.lock
flock 9
failed=0
for c in "${commands[@]}"; do
    echo "\$ $c"
    if ! bash -c "$c" </dev/null; then
        echo "FAIL: $c"
        failed=1
    fi
done
[ $failed -eq 0 ] && echo PASS
exit $failed
