#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) and runs
# the firmware parser target. Usage: scripts/fuzz.sh [RUNS]   (default 1000000 executions)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}
bash scripts/install-deps.sh
if ! command -v clang++-14 >/dev/null || [ ! -d /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang-14 libclang-rt-14-dev
fi
CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCANPROG_FUZZ=ON -DCANPROG_BUILD_GUI=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target firmware_parser_fuzz
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp tests/fuzz/corpus/* "$corpus"/
./build-fuzz/tests/fuzz/firmware_parser_fuzz -runs="$runs" -max_len=4096 "$corpus"
