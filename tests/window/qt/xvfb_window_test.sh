#!/usr/bin/env bash
# Starts the real program on a virtual X display and checks what the X server sees:
# a window titled with the brand's caption and a 459 x 350 client area.
set -euo pipefail
program=$1

if [ "${2:-}" != "--on-display" ]; then
    exec env QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program" --on-display
fi

"$program" &
pid=$!
# The X server knows the window (1 x 1, unmapped) a moment before Qt maps it at its size: wait
# for it to be shown, for up to ten seconds.
info=""
for _ in $(seq 100); do
    info=$(xwininfo -name "CAN BUS MODUL BOOTLOADER" 2>/dev/null) || info=""
    if echo "$info" | grep -q 'Map State: IsViewable' && ! echo "$info" | grep -q 'Width: 1$'; then
        break
    fi
    sleep 0.1
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
[ -n "$info" ] || { echo "no window titled CAN BUS MODUL BOOTLOADER"; exit 1; }
echo "$info" | grep -E 'Width|Height'
echo "$info" | grep -q 'Width: 459' && echo "$info" | grep -q 'Height: 350'
