#!/usr/bin/env bash
# Installs what the tests need, builds, and runs the whole test suite: the normal build with
# the window; the Debian package built, checked, installed, used and purged; the core and its
# tests under AddressSanitizer with UndefinedBehaviorSanitizer and under ThreadSanitizer; the
# Windows programs built with MinGW-w64 and tested under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
# Each phase says when it began, so that a slow one shows in the log.
phase() {
    echo "== $* (at ${SECONDS} s) =="
}
phase "installing what the tests need"
bash scripts/install-deps.sh
# The tests mostly wait on the simulated module's paced bytes and on time-outs, not on the
# processor (four at a time kept one core of two busy): four times as many as there are cores.
jobs=$(($(nproc) * 4))

# Line tables are all the tests need of debug information (the package is stripped anyway),
# and they compile in two thirds of the time of full debug information. The suites of the core,
# the command line and the simulator run below under both sanitizers; this build runs what they
# cannot: the Qt window's suites, the window under X, the layer checks and the programs.
phase "the normal build and its tests"
bash scripts/build.sh build -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
    -DCANPROG_BUILD_CORE_TESTS=OFF
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"

phase "the Debian package: built, checked, installed, used, purged"
bash scripts/test-package.sh build

phase "Windows: the core's tests and canprog-cli.exe under Wine"
bash scripts/test-windows.sh

for sanitizer in address thread; do
    phase "tests under the $sanitizer sanitizer"
    bash scripts/build.sh "build-$sanitizer" -DCANPROG_BUILD_GUI=OFF -DCANPROG_BUILD_BENCH=OFF \
        -DCANPROG_SANITIZE="$sanitizer"
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    TSAN_OPTIONS=halt_on_error=1 \
        ctest --test-dir "build-$sanitizer" --output-on-failure -j"$jobs"
done
phase "all tests passed"
