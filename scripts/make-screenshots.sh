#!/usr/bin/env bash
# Renders the README's pictures of both tabs (English) into docs/images.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
mkdir -p docs/images
QT_QPA_PLATFORM=offscreen ./build/window/qt/canprog-screenshots docs/images 1
