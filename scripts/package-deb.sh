#!/usr/bin/env bash
# Builds the Debian package canprog_<version>_amd64.deb from a clean build in build-deb/, and
# checks it: the desktop entry, the AppStream data and the package itself (lintian, which must
# find no error). Installs what it needs (apt-get, as root).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh help2man lintian desktop-file-utils appstream dpkg-dev file

rm -rf build-deb
# Hardened as Debian builds its own packages: fortified functions, a read-only relocation
# table bound at start.
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCANPROG_BUILD_TESTS=OFF \
    -DCANPROG_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS="-D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
    -DCMAKE_EXE_LINKER_FLAGS="-Wl,-z,relro,-z,now" >/dev/null
cmake --build build-deb -j"$(nproc)"
(cd build-deb && cpack -G DEB >/dev/null)
package=$(ls build-deb/canprog_*_amd64.deb)
echo "built $package"

desktop-file-validate packaging/org.example.canprog.desktop
appstreamcli validate --no-net build-deb/packaging/org.example.canprog.metainfo.xml
lintian --fail-on error --suppress-tags-from-file packaging/lintian-accepted "$package"
echo "package checks passed"
