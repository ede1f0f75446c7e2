#!/usr/bin/env bash
# The Windows programs under Wine: builds them (scripts/build-windows.sh); runs the tests,
# the window's on a virtual X display; checks that neither program imports a DLL that Windows
# does not ship; runs canprog-cli.exe and the window end to end against canprog-sim on a
# pseudo-terminal linked into the Wine prefix as a COM port; installs and uninstalls with the
# installer; signs everything (with a throwaway certificate unless one is given) and verifies
# the signatures. Needs the Linux build in build/ for the simulator (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh xvfb xauth openssl osslsigncode
wineserver=/usr/lib/wine/wineserver
signing=$(mktemp -d)
trap '$wineserver -k 2>/dev/null || true; rm -rf "$signing"' EXIT
# Without a certificate of the release's own, a throwaway self-signed one signs, so that the
# signing is tested on every run.
if [ -z "${CANPROG_SIGN_CERT:-}" ]; then
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=canprog throwaway signing" \
        -addext "extendedKeyUsage=codeSigning" -keyout "$signing/key.pem" \
        -out "$signing/cert.pem" 2>/dev/null
    export CANPROG_SIGN_PASSWORD=throwaway
    openssl pkcs12 -export -inkey "$signing/key.pem" -in "$signing/cert.pem" \
        -out "$signing/cert.pfx" -passout "pass:$CANPROG_SIGN_PASSWORD"
    export CANPROG_SIGN_CERT=$signing/cert.pfx CANPROG_SIGN_CA=$signing/cert.pem
fi
bash scripts/build-windows.sh
export WINEPREFIX=${WINEPREFIX:-$PWD/build-windows/wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Runs a command on a virtual X display, with a Wine of its own that starts on that display
# and ends before it does (its server quiet: it lists its objects when it is ended).
in_x() {
    "$wineserver" -k 2>/dev/null || true
    "$wineserver" -w
    xvfb-run -a -s "-screen 0 1024x768x24" \
        bash -c '"$0" -p5 >/dev/null 2>&1; "$@"; rc=$?; "$0" -k 2>/dev/null; "$0" -w; exit $rc' \
        "$wineserver" "$@"
}

in_x ctest --test-dir build-windows --output-on-failure -j"$(nproc)"

# Only the system's own DLLs: nothing has to be shipped beside the programs. (DLL names are
# not case-sensitive.)
shopt -s nocasematch
allowed='^(KERNEL32|msvcrt|ADVAPI32|SETUPAPI|SHELL32|USER32|GDI32|COMCTL32|COMDLG32|ole32|OLEAUT32|OLEACC|UxTheme|dwmapi|SHCORE|WS2_32|bcrypt|WINMM)\.dll$'
for program in build-windows/window/win32/canprog.exe build-windows/cli/canprog-cli.exe; do
    imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
    echo "$program imports: $(echo $imports)"
    for dll in $imports; do
        if ! [[ $dll =~ $allowed ]]; then
            echo "$program needs $dll, which Windows does not ship"
            exit 1
        fi
    done
done
shopt -u nocasematch

# Every program is signed, and the signature holds (the installer's uninstaller is verified
# once installed, by the installer test).
if [ -n "${CANPROG_SIGN_CA:-}" ]; then
    for program in build-windows/window/win32/canprog.exe build-windows/cli/canprog-cli.exe \
        build-windows/canprog-*-setup.exe; do
        osslsigncode verify -CAfile "$CANPROG_SIGN_CA" -in "$program" >/dev/null ||
            { echo "$program: no valid signature"; exit 1; }
        echo "$program: signature verified"
    done
fi
zipped=$(unzip -Z1 build-windows/canprog-*-windows-x64.zip | sort | tr '\n' ' ')
[ "$zipped" = "canprog-cli.exe canprog.exe " ] || { echo "the zip holds: $zipped"; exit 1; }

[ -x build/sim/canprog-sim ] && [ -x build/cli/canprog-cli ] || bash scripts/build.sh build
bash tests/cli/wine_cli_e2e.sh build-windows/cli/canprog-cli.exe build/sim/canprog-sim \
    build/cli/canprog-cli
in_x bash tests/window/win32/wine_window_e2e.sh build-windows build/sim/canprog-sim
bash tests/packaging/wine_installer_test.sh build-windows/canprog-*-setup.exe
