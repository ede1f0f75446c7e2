#!/usr/bin/env bash
# The Qt window driven as a screen reader drives it, over the accessibility bus: the
# parameters read, options and check boxes changed by their accessible actions alone, the
# settings written; the simulated module must then hold what the window shows.
# Usage: atspi_window_test.sh CANPROG CANPROG_SIM
set -euo pipefail
program=$1
simulator=$2
here=$(cd "$(dirname "$0")" && pwd)
if [ "${3:-}" != "--inside" ]; then
    # A display and a session bus of its own, on which the accessibility bus is started.
    exec env QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" \
        dbus-run-session -- "$0" "$program" "$simulator" --inside
fi

work=$(mktemp -d)
sim_pid=
window_pid=
cleanup() {
    local rc=$?
    for pid in $window_pid $sim_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
    exit $rc
}
trap cleanup EXIT

export CANPROG_PORTS=$work/ports
mkdir -p "$CANPROG_PORTS"
"$simulator" --com 1 --eeprom "$work/eeprom.bin" >"$work/sim.out" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do [ -L "$CANPROG_PORTS/COM1" ] && break; sleep 0.05; done

# Qt speaks to the accessibility bus only when it is asked to, or when a screen reader runs.
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
"$program" >"$work/window.out" 2>&1 &
window_pid=$!
/usr/bin/python3 "$here/atspi_window_test.py" "$work/eeprom.bin"
