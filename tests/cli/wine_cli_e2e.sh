#!/usr/bin/env bash
# canprog-cli.exe under Wine against canprog-sim on a pseudo-terminal, linked into the Wine
# prefix as COM5: every module command, and the failures a technician meets, exactly as on
# Linux. Usage: wine_cli_e2e.sh CLI_EXE SIMULATOR LINUX_CLI   (WINEPREFIX set and booted)
set -euo pipefail
cli_exe=$1
simulator=$2
linux_cli=$3
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
samples=$(cd "$(dirname "$0")/../../samples" && pwd)
source "$(dirname "$0")/../support/simulated_module.sh"
failures=0

# expect EXIT_CODE NAME ARGUMENTS...: runs canprog-cli.exe, keeps its output in out/err.
expect() {
    local code=$1 name=$2
    shift 2
    local rc=0
    "$wine" "$cli_exe" "$@" >"$work/out" 2>"$work/err" </dev/null || rc=$?
    if [ "$rc" -eq "$code" ]; then
        echo "ok   $name (exit $rc)"
    else
        echo "FAIL $name: exit $rc, expected $code"
        sed 's/^/     out: /' "$work/out"
        sed 's/^/     err: /' "$work/err"
        failures=$((failures + 1))
    fi
}
contains() {
    local file=$1 text=$2 name=$3
    if grep -qF -- "$text" "$work/$file"; then
        echo "ok   $name"
    else
        echo "FAIL $name: no \"$text\" in $file"
        sed "s/^/     $file: /" "$work/$file"
        failures=$((failures + 1))
    fi
}

expect 0 "--version" --version
contains out "canprog-cli " "the version line"

# A write: the module's memory equals the file's images.
start_module 5
expect 0 "write of the demo firmware" --port 5 write "$samples/demo.hexfw"
contains out "Finished" "the write's log"
contains err "EEPROM verified" "the EEPROM read back"
stop_module
"$linux_cli" inspect "$samples/demo.hexfw" --flash-out "$work/want.flash" \
    --eeprom-out "$work/want.eeprom" >/dev/null
if cmp -s <(tail -c +513 "$work/flash.bin") <(tail -c +513 "$work/want.flash") &&
    cmp -s "$work/eeprom.bin" "$work/want.eeprom"; then
    echo "ok   the module holds the file's FLASH (from 0x200) and EEPROM images"
else
    echo "FAIL the module's memory differs from the file's images"
    failures=$((failures + 1))
fi

start_module 5
expect 0 "version read" --port 5 version --device-id
contains out "Device ID: 12:34" "the device ID"
contains out "Program version: DEMO 2.00" "the version written"
expect 0 "the port named as COM5" --device COM5 version
expect 0 "the port named as \\\\.\\COM5" --device '\\.\COM5' version
expect 0 "a version read in Polish" --port 5 --lang pl version
contains out "Gotowe" "Polish letters in UTF-8"
expect 0 "parameter write" --port 5 params write --pin 4321 --mode FA
expect 0 "parameter read" --port 5 params read --json
contains out '"pin": "4321"' "the PIN written"
contains out '"mode": "FA"' "the mode written"
expect 0 "ports" ports
contains out "COM5" "COM5 among the ports"
# Names that Windows keeps for devices are no files: refused before anything is sent.
expect 9 "a backup named aux.json" --port 5 write --backup aux.json "$samples/demo.hexfw"
contains err "aux.json: is the name of a device" "the device name's reason"
expect 9 "a bench log named NUL" --port 5 write --log NUL "$samples/demo.hexfw"
expect 9 "a trace named NUL" --port 5 --trace NUL version
expect 9 "a saved block named COM1.json" --port 5 params save COM1.json
cp "$samples/demo.hexfw" "$work/dęmo żółw.hexfw"
expect 0 "a file name with Polish letters" --port 5 write --no-verify "$work/dęmo żółw.hexfw"

# Ctrl-C is the Cancel button (Wine delivers it to the console control handler). The signal
# goes to the Windows process alone, whose command line Wine starts with the program's path:
# this script's own command line names the program too, and must not be interrupted.
start_module 5 --no-answer
( sleep 2; pkill -INT -f "^$cli_exe " ) &
interrupter=$!
expect 130 "Ctrl-C during the wake-up" --port 5 version
contains out "Cancel" "the cancel's line"
wait "$interrupter"

# The failures, with their exit codes and reasons.
start_module 5 --no-answer
expect 4 "a silent module" --port 5 version
contains err "Check the cable" "what to check"
start_module 5 --reject-flash 40:3
expect 6 "a rejected block" --port 5 write "$samples/demo.hexfw"
contains out "FLASH writing error00000280; error code 3" "the rejected block's line"
contains err "The module is only partly written (acknowledged blocks: FLASH 8/2016" "the half-written module"
start_module 5 --silent-after 10
expect 5 "replies that stop" --port 5 write "$samples/demo.hexfw"
stop_module
rm -f "$WINEPREFIX/dosdevices/com5"
expect 3 "a port that does not exist" --port 5 version
contains err "COM5: there is no such port" "the missing port's reason"

if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed under Wine"
    exit 1
fi
echo "canprog-cli.exe under Wine: every check passed"
