#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine, uses the installed programs from
# /usr/bin (a write of the sample firmware into the installed simulated module among them),
# then purges the package and checks that it left no file behind. An argument names the build
# folder to package (see package-deb.sh). Run as root.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/package-deb.sh "${1:-}"
package=$(ls "$PWD"/"${1:-build-deb}"/canprog_*_amd64.deb)

export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "$package" >/dev/null
files=$(dpkg -L canprog)
work=$(mktemp -d)
cleanup() {
    [ -n "${sim:-}" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

/usr/bin/canprog-cli --version
/usr/bin/canprog-sim --version
/usr/bin/canprog --version
/usr/bin/canprog-cli inspect /usr/share/canprog/samples/demo.hexfw

/usr/bin/canprog-sim --flash "$work/flash.bin" --eeprom "$work/eeprom.bin" >"$work/sim.out" &
sim=$!
for _ in $(seq 50); do [ -s "$work/sim.out" ] && break; sleep 0.1; done
device=$(head -n 1 "$work/sim.out")
/usr/bin/canprog-cli --device "$device" write /usr/share/canprog/samples/demo.hexfw
/usr/bin/canprog-cli --device "$device" version | tee "$work/version.out"
grep -q "Program version: DEMO 2.00" "$work/version.out"
kill "$sim"
wait "$sim" 2>/dev/null || true
sim=

apt-get purge -y -qq canprog >/dev/null
left=0
while IFS= read -r file; do
    if [ -f "$file" ] || [ -L "$file" ]; then
        echo "left behind: $file"
        left=1
    fi
done <<<"$files"
[ "$left" -eq 0 ]
echo "the package installed, worked from /usr/bin and purged cleanly"
