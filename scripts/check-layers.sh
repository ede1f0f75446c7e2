#!/usr/bin/env bash
# Checks that the folders are layers and that includes point one way, bottom to top:
#   0 base/                       helpers every layer may use, not about ports
#   1 serial/                     the serial layer
#   2 wait/ firmware/             the waits' countdown and pump interface; the firmware files
#                                 and the images they describe (neither knows the other)
#   3 bootloader/                 the protocol: the link reports through its own interface
#   4 model/                      the window's state and tables, which hold the images
#   5 config/                     the parameter image and its controls (uses the protocol's
#                                 replies and the window's controls)
#   6 operations/                 the handlers bound to the buttons, composing port, link, model
#   7 window/ cli/ sim/ bench/    the front ends and programs
# So the files come before the protocol, the protocol before the window's state, and the
# parameters after both. No file may include a file of a higher layer, nor one of another
# folder of its own layer. Usage: check-layers.sh [ROOT] (default: the checkout this script
# lives in). Prints every offending include; exits 1 when there is one.
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

layer_of() {
    case "$1" in
        base/*) echo 0 ;;
        serial/*) echo 1 ;;
        wait/* | firmware/*) echo 2 ;;
        bootloader/*) echo 3 ;;
        model/*) echo 4 ;;
        config/*) echo 5 ;;
        operations/*) echo 6 ;;
        window/* | cli/* | sim/* | bench/*) echo 7 ;;
        *) echo "" ;;
    esac
}

# The folder a file sits in at the top of the tree.
top_of() { echo "${1%%/*}"; }

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
        elif [ "$to" -eq "$from" ] && [ "$from" -eq 2 ] &&
            [ "$(top_of "$target")" != "$(top_of "$file")" ]; then
            echo "$file includes $target, a folder beside its own in layer $from"
            offences=$((offences + 1))
        fi
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find . -path ./build -prune -o -path './build-*' -prune -o -path ./.git -prune -o \
    -path ./tests -prune -o \( -name '*.h' -o -name '*.cpp' \) -print)

if [ "$offences" -gt 0 ]; then
    echo "$offences include(s) against the direction of the layers"
    exit 1
fi
echo "layers: every include points down"
