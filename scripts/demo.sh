#!/usr/bin/env bash
# Installs what canprog needs, builds it and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
exec ./build/app/window/canprog
