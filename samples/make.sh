#!/usr/bin/env bash
# Builds samples/demo.hexfw: demo.asm through gpasm, the CAN program list appended after the
# end record, scrambled with canprog-cli. Needs gputils and a built canprog-cli.
set -euo pipefail
cd "$(dirname "$0")"
cli=${1:-../build/cli/canprog-cli}
gpasm -o demo.hex demo.asm >/dev/null
rm -f demo.cod demo.lst
# The program list stands after the end record, with Windows line ends like the rest.
sed 's/$/\r/' programs.txt >> demo.hex
"$cli" hexfw encode demo.hex demo.hexfw
