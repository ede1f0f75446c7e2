#!/usr/bin/env bash
# Checks that the layers point one way, bottom to top:
#   0 serial/              the serial layer
#   1 app/model/           the window's state, tables and countdown
#   2 firmware/ bootloader/ config/   the files and the protocol
#   3 app/operations/      the handlers bound to the buttons, composing port, link and model
#   4 app/window/ app/win32/ cli/ sim/ bench/   the front ends and programs
# No file may include a file of a higher layer. Usage: check-layers.sh [ROOT] (default: the
# checkout this script lives in). Prints every offending include; exits 1 when there is one.
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

layer_of() {
    case "$1" in
        serial/*) echo 0 ;;
        app/model/*) echo 1 ;;
        firmware/* | bootloader/* | config/*) echo 2 ;;
        app/operations/*) echo 3 ;;
        app/window/* | app/win32/* | cli/* | sim/* | bench/*) echo 4 ;;
        *) echo "" ;;
    esac
}

offences=0
while IFS= read -r file; do
    file=${file#./}
    from=$(layer_of "$file")
    [ -n "$from" ] || continue
    dir=$(dirname "$file")
    while IFS= read -r included; do
        if [ -f "$dir/$included" ]; then
            target=$(realpath -m --relative-to=. "$dir/$included")
        elif [ -f "$included" ]; then
            target=$included
        else
            continue  # a system or library header
        fi
        to=$(layer_of "$target")
        [ -n "$to" ] || continue
        if [ "$to" -gt "$from" ]; then
            echo "$file (layer $from) includes $target (layer $to)"
            offences=$((offences + 1))
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . -path ./build -prune -o -path './build-*' -prune -o -path ./.git -prune -o \
    \( -name '*.h' -o -name '*.cpp' \) -print)

if [ "$offences" -gt 0 ]; then
    echo "$offences include(s) against the direction of the layers"
    exit 1
fi
echo "layers: every include points down"
