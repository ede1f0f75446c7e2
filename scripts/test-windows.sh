#!/usr/bin/env bash
# The Windows programs under Wine: builds them (scripts/build-windows.sh), runs the core's
# tests, checks that canprog-cli.exe imports only DLLs that Windows ships, and runs it end to
# end against canprog-sim on a pseudo-terminal linked into the Wine prefix as COM5. Needs the
# Linux build in build/ for the simulator (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build-windows.sh
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT

ctest --test-dir build-windows --output-on-failure -j"$(nproc)"

# Only the system's own DLLs: nothing has to be shipped beside the program.
allowed='^(KERNEL32|msvcrt|ADVAPI32|SETUPAPI|SHELL32|USER32|GDI32|COMCTL32|COMDLG32|ole32|OLEAUT32|UxTheme|dwmapi|SHCORE|WS2_32|bcrypt)\.dll$'
for program in build-windows/cli/canprog-cli.exe; do
    imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
    echo "$program imports: $(echo $imports)"
    for dll in $imports; do
        if ! [[ $dll =~ $allowed ]]; then
            echo "$program needs $dll, which Windows does not ship"
            exit 1
        fi
    done
done

[ -x build/sim/canprog-sim ] && [ -x build/cli/canprog-cli ] || bash scripts/build.sh build
bash tests/win32/wine_cli_e2e.sh build-windows/cli/canprog-cli.exe build/sim/canprog-sim \
    build/cli/canprog-cli
