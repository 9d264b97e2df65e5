#!/usr/bin/env bash
# Runs the README's example block exactly as it stands, as one shell script, from the top of
# a tree laid out as a fresh clone after ./test.sh: the source tree's files, and build/ the
# build tree under test. Nothing is added to PATH: the block says where the programs are.
# Every command must exit 0. The block is the indented lines below the README's line
# "<!-- commands run by tests/e2e/readme_commands.sh -->". The quick start's two commands
# must also stand within the README's first 40 lines.
#   readme_commands.sh README.md BUILD_DIR
set -uo pipefail
readme=$(realpath "$1") build=$(realpath "$2")
source_dir=$(dirname "$readme")

for command in ./run.sh ./test.sh; do
    head -n 40 "$readme" | grep -q "^    $command " \
        || { echo "FAIL: $command is not within the README's first 40 lines"; exit 1; }
done

mapfile -t commands < <(awk '
    /<!-- commands run by tests\/e2e\/readme_commands.sh -->/ { on = 1; next }
    on && /^    [^ ]/ { sub(/^    /, ""); print; next }
    on && /^$/ { next }
    on { on = 0 }' "$readme")
[ ${#commands[@]} -gt 0 ] || { echo "FAIL: no commands found in $readme"; exit 1; }

tree=$(mktemp -d /tmp/orvanta-readme.XXXXXX)
trap 'rm -rf "$tree"' EXIT
for entry in "$source_dir"/* "$source_dir"/.[!.]*; do
    case $(basename "$entry") in build* | .git) continue ;; esac
    [ -e "$entry" ] && ln -s "$entry" "$tree/"
done
ln -s "$build" "$tree/build"

# The commands use a fixed link under /tmp; two runs on one machine take turns.
exec 9>/tmp/orvanta-readme-commands.lock
flock 9
cd "$tree"
# Each line is shown as it runs; the first that fails ends the block and is named.
if ! bash -e -v -c "trap 'echo \"FAIL: \$BASH_COMMAND\"' ERR
$(printf '%s\n' "${commands[@]}")" </dev/null; then
    echo FAIL
    exit 1
fi
echo PASS
