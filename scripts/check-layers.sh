#!/usr/bin/env bash
# Checks that the folders are layers and that includes point one way, bottom to top:
#   0 base/                       helpers every layer may use, not about ports
#   1 serial/                     the serial layer
#   2 model/ wait/                the window's state and tables; the countdown and pumps
#   3 firmware/ bootloader/ config/   the files and the protocol
#   4 operations/                 the handlers bound to the buttons, composing port, link, model
#   5 window/ cli/ sim/ bench/    the front ends and programs
# No file may include a file of a higher layer. Usage: check-layers.sh [ROOT] (default: the
# checkout this script lives in). Prints every offending include; exits 1 when there is one.
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

layer_of() {
    case "$1" in
        base/*) echo 0 ;;
        serial/*) echo 1 ;;
        model/* | wait/*) echo 2 ;;
        firmware/* | bootloader/* | config/*) echo 3 ;;
        operations/*) echo 4 ;;
        window/* | cli/* | sim/* | bench/*) echo 5 ;;
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
    -path ./tests -prune -o \( -name '*.h' -o -name '*.cpp' \) -print)

if [ "$offences" -gt 0 ]; then
    echo "$offences include(s) against the direction of the layers"
    exit 1
fi
echo "layers: every include points down"
