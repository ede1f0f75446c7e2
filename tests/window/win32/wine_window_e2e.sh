#!/usr/bin/env bash
# canprog.exe and its window under Wine on a virtual X display: the program opens with its
# title and client area and ends when the window is closed; the window's own buttons read the
# version and write a module: canprog-sim on a pseudo-terminal linked into the Wine prefix as
# COM1. Usage: wine_window_e2e.sh BUILD_WINDOWS_DIR SIMULATOR   (WINEPREFIX set and booted,
# DISPLAY set)
set -euo pipefail
build=$1
simulator=$2
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
source "$(dirname "$0")/../../support/simulated_module.sh"
failures=0
check() {
    if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}

# The program itself: its window, found and closed by a probe as the user would close it.
"$wine" "$build/window/win32/canprog.exe" &
program=$!
"$wine" "$build/tests/window_probe.exe" | tr -d "\r" >"$work/probe" || true
rc=0
wait "$program" || rc=$?
sed 's/^/     /' "$work/probe"
check "canprog.exe shows \"CAN BUS MODUL BOOTLOADER\"" \
    'grep -qx "title: CAN BUS MODUL BOOTLOADER" "$work/probe"'
check "its client area is 459 x 350" 'grep -qx "client: 459x350" "$work/probe"'
check "closing the window ends the program with exit code 0 (got $rc)" '[ "$rc" -eq 0 ]'

# The window's handlers against a simulated module on COM1.
start_module 1
if CANPROG_SIM_FLASH="$work/flash.bin" CANPROG_SIM_EEPROM="$work/eeprom.bin" \
    WINEDEBUG=-all "$wine" "$build/tests/window_tests.exe" \
    --gtest_filter='Win32WindowModuleTest.*' >"$work/tests" 2>&1 &&
    ! grep -q SKIPPED "$work/tests"; then
    echo "ok   the window's Read and Write buttons, a write with the keyboard alone, a close during a write, a question and a drag that do not hold it, against canprog-sim on COM1"
else
    sed 's/^/     /' "$work/tests"
    echo "FAIL the window's Read and Write buttons, a write with the keyboard alone, a close during a write, a question and a drag that do not hold it, against canprog-sim on COM1"
    failures=$((failures + 1))
fi
rm -f "$WINEPREFIX/dosdevices/com1"

[ "$failures" -eq 0 ] && echo "all window checks passed" || echo "$failures window checks failed"
exit $((failures > 0))
