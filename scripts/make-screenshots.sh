#!/usr/bin/env bash
# Renders the README's pictures of both tabs, in English and in German, into docs/images.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh build
mkdir -p docs/images
for language in 1 2; do
    QT_QPA_PLATFORM=offscreen ./build/window/qt/canprog-screenshots docs/images "$language"
done
