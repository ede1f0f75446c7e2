#!/usr/bin/env bash
# Builds canprog for 64-bit Windows on Debian with MinGW-w64 into build-windows/: the
# programs linked statically (only DLLs that Windows ships), and the core's tests, which run
# under Wine (ctest --test-dir build-windows). Installs what it needs (apt-get, as root;
# idempotent) and prepares the Wine prefix build-windows/wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix wine64 nsis zip
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p build-windows
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
fi
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build-windows -j"$(nproc)"
echo "built build-windows/cli/canprog-cli.exe"
