#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) and runs
# them: the firmware file parsers, what the tool makes of the module's replies, and a saved
# parameter block read back for a restore.
# Usage: scripts/fuzz.sh [RUNS] [TARGET...]   (default 1000000 executions of each target;
# targets: firmware_parser_fuzz reply_parser_fuzz backup_restore_fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(firmware_parser_fuzz reply_parser_fuzz backup_restore_fuzz)
bash scripts/install-deps.sh
if ! command -v clang++-14 >/dev/null || [ ! -d /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends clang-14 libclang-rt-14-dev
fi
CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCANPROG_FUZZ=ON -DCANPROG_BUILD_GUI=OFF \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target "${targets[@]}"
for target in "${targets[@]}"; do
    case "$target" in
        firmware_parser_fuzz) seeds=tests/fuzz/corpus; max_len=4096 ;;
        reply_parser_fuzz) seeds=tests/fuzz/replies; max_len=400 ;;
        backup_restore_fuzz) seeds=tests/fuzz/backups; max_len=4096 ;;
        *) echo "unknown target $target" >&2; exit 1 ;;
    esac
    corpus=$(mktemp -d)
    cp "$seeds"/* "$corpus"/
    echo "== $target =="
    ./build-fuzz/tests/fuzz/"$target" -runs="$runs" -max_len="$max_len" "$corpus"
    rm -rf "$corpus"
done
