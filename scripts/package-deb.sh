#!/usr/bin/env bash
# Builds the Debian package canprog_<version>_amd64.deb, and checks it: the desktop entry, the
# AppStream data and the package itself (lintian, which must find no error). Without an
# argument the programs come from a clean Release build in build-deb/; with one, from that
# build folder as it stands (the test command packages the tree it has just built and tested).
# Installs what it needs (apt-get, as root).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh help2man lintian desktop-file-utils appstream dpkg-dev file

build_dir=${1:-}
if [ -z "$build_dir" ]; then
    build_dir=build-deb
    rm -rf "$build_dir"
    cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCANPROG_BUILD_TESTS=OFF \
        -DCANPROG_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$build_dir" -j"$(nproc)"
rm -f "$build_dir"/canprog_*_amd64.deb
(cd "$build_dir" && cpack -G DEB >/dev/null)
package=$(ls "$build_dir"/canprog_*_amd64.deb)
echo "built $package"

desktop-file-validate packaging/org.example.canprog.desktop
appstreamcli validate --no-net "$build_dir"/packaging/org.example.canprog.metainfo.xml
lintian --fail-on error --suppress-tags-from-file packaging/lintian-accepted "$package"
echo "package checks passed"
