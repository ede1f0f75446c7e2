#!/usr/bin/env bash
# The main job against the simulated module: installs and builds canprog-cli and canprog-sim,
# starts canprog-sim, writes samples/demo.hexfw into it with canprog-cli and reads the program
# version back.
set -euo pipefail
cd "$(dirname "$0")/.."
# Only what the demo runs: the command line and the simulated module, without the window, the
# tests or the benchmarks.
bash scripts/install-deps.sh --core
cmake -S . -B build-demo -G Ninja -DCMAKE_BUILD_TYPE=Release -DCANPROG_BUILD_GUI=OFF \
    -DCANPROG_BUILD_TESTS=OFF -DCANPROG_BUILD_BENCH=OFF >/dev/null
cmake --build build-demo -j"$(nproc)" --target canprog-cli canprog-sim

work=$(mktemp -d)
./build-demo/sim/canprog-sim --flash "$work/flash.bin" --eeprom "$work/eeprom.bin" > "$work/sim.out" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
device=$(head -n 1 "$work/sim.out")
echo "Simulated module on $device"

echo
echo "== canprog-cli write samples/demo.hexfw =="
./build-demo/cli/canprog-cli --device "$device" write samples/demo.hexfw
echo
echo "== canprog-cli version =="
./build-demo/cli/canprog-cli --device "$device" version
