# Sourced by the Wine end-to-end scripts: a work folder removed at exit, and canprog-sim on a
# pseudo-terminal linked into the Wine prefix as a COM port.
#   start_module COM_NUMBER [SIMULATOR OPTIONS...]   (re)starts the module on COM<number>
#   stop_module                                      ends it
# Needs $simulator and $WINEPREFIX; the module's memory is $work/flash.bin and $work/eeprom.bin.
work=$(mktemp -d)
sim_pid=
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

start_module() {
    local com=$1
    shift
    stop_module
    "$simulator" --flash "$work/flash.bin" --eeprom "$work/eeprom.bin" "$@" >"$work/sim.out" &
    sim_pid=$!
    for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
    ln -sfn "$(head -n 1 "$work/sim.out")" "$WINEPREFIX/dosdevices/com$com"
}
stop_module() {
    if [ -n "$sim_pid" ]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
        sim_pid=
    fi
}
