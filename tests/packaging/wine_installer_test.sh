#!/usr/bin/env bash
# The installer under Wine: a silent install (/S) puts both programs under Program Files and a
# Start-menu entry in place and registers the uninstaller; the installed canprog-cli.exe
# answers --version; the registered uninstaller, run silently, takes everything away again.
# With CANPROG_SIGN_CA set, the installed uninstaller's signature is verified against it.
# Usage: wine_installer_test.sh INSTALLER   (WINEPREFIX set and booted)
set -euo pipefail
installer=$1
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
folder="$WINEPREFIX/drive_c/Program Files/canprog"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/canprog.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\canprog'
failures=0
check() {
    if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
registered() { "$wine" reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | grep -F "$1"; }

"$wine" "$installer" /S
check "the window program is installed" '[ -f "$folder/canprog.exe" ]'
check "the command-line program is installed" '[ -f "$folder/canprog-cli.exe" ]'
check "the uninstaller is installed" '[ -f "$folder/uninstall.exe" ]'
check "the Start menu has canprog" '[ -f "$shortcut" ]'
if [ -n "${CANPROG_SIGN_CA:-}" ]; then
    check "the uninstaller is signed" \
        'osslsigncode verify -CAfile "$CANPROG_SIGN_CA" -in "$folder/uninstall.exe" >/dev/null'
fi
check "the uninstaller is registered with Windows" \
    'registered UninstallString | grep -qF "uninstall.exe"'
check "the registration names the program and its version" \
    'registered DisplayName | grep -q canprog && registered DisplayVersion | grep -q "[0-9]"'
version=$("$wine" "C:\\Program Files\\canprog\\canprog-cli.exe" --version | tr -d '\r')
check "the installed canprog-cli.exe answers --version ($version)" \
    '[[ $version =~ ^canprog-cli\ [0-9]+\.[0-9]+\.[0-9]+ ]]'

# The uninstaller copies itself away and runs from there: wait until it has finished.
"$wine" "C:\\Program Files\\canprog\\uninstall.exe" /S
for _ in $(seq 100); do [ -e "$folder" ] || break; sleep 0.2; done
check "the uninstaller removes the programs" '[ ! -e "$folder" ]'
check "and the Start-menu entry" '[ ! -e "$shortcut" ]'
check "and its registration" '! registered UninstallString >/dev/null'

[ "$failures" -eq 0 ] && echo "all installer checks passed" || echo "$failures installer checks failed"
exit $((failures > 0))
