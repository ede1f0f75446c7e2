#!/usr/bin/env bash
# The main job against the simulated module: installs and builds canprog, starts canprog-sim,
# writes samples/demo.hexfw into it with canprog-cli and reads the program version back.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build

work=$(mktemp -d)
./build/sim/canprog-sim --flash "$work/flash.bin" --eeprom "$work/eeprom.bin" > "$work/sim.out" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
device=$(head -n 1 "$work/sim.out")
echo "Simulated module on $device"

echo
echo "== canprog-cli write samples/demo.hexfw =="
./build/cli/canprog-cli --device "$device" write samples/demo.hexfw
echo
echo "== canprog-cli version =="
./build/cli/canprog-cli --device "$device" version
