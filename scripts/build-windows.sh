#!/usr/bin/env bash
# Builds canprog for 64-bit Windows on Debian with MinGW-w64 into build-windows/: the window
# canprog.exe and canprog-cli.exe, linked statically (only DLLs that Windows ships), the tests,
# which run under Wine (scripts/test-windows.sh), the installer canprog-<version>-setup.exe
# (NSIS) and the zip canprog-<version>-windows-x64.zip of the two programs. With
# CANPROG_SIGN_CERT and CANPROG_SIGN_PASSWORD set (scripts/sign-windows.sh) the programs, the
# uninstaller and the installer are signed with Authenticode. Installs what it needs (apt-get,
# as root; idempotent) and prepares the Wine prefix build-windows/wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 fonts-wine nsis zip unzip osslsigncode
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p build-windows
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
    # Every window in one virtual desktop drawn by Wine itself: title bars and frames as on
    # Windows, and no window manager needed on the X display.
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null
    /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
        /d 1024x768 /f >/dev/null
fi
cmake -S . -B build-windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build build-windows -j"$(nproc)"
bash scripts/sign-windows.sh build-windows/window/win32/canprog.exe build-windows/cli/canprog-cli.exe
cmake --build build-windows --target windows_packages
echo "built build-windows/window/win32/canprog.exe, build-windows/cli/canprog-cli.exe,"
echo "      $(ls build-windows/canprog-*-setup.exe) and $(ls build-windows/canprog-*-windows-x64.zip)"
