#!/usr/bin/env bash
# Renders the README's pictures of both tabs of the Windows window, in English and in German,
# into docs/images, under Wine on a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh
bash scripts/install-deps.sh xvfb xauth
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p docs/images
xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
    'rc=0
     for language in 1 2; do
         /usr/lib/wine/wine64 build-windows/window/win32/canprog-screenshots.exe docs/images \
             "$language" || rc=$?
     done
     /usr/lib/wine/wineserver -k 2>/dev/null; exit $rc'
