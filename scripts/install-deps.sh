#!/usr/bin/env bash
# Installs the Debian 12 packages that building, testing and the demo need, and any further
# packages named as arguments (scripts that need more pass them); with --core first, only
# those the command-line programs need.
# Idempotent: packages already present are left as they are.
set -euo pipefail

# `--core`: only what canprog-cli and canprog-sim need (the demo), not the window's toolkit nor
# the test tools.
core=(build-essential cmake ninja-build pkg-config libfmt-dev libcli11-dev nlohmann-json3-dev)
if [ "${1:-}" = "--core" ]; then
  shift
  packages=("${core[@]}" "$@")
else
  packages=(
    "${core[@]}" git
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev
    xvfb xauth x11-utils fonts-dejavu-core dbus at-spi2-core python3-pyatspi
    gputils srecord
    "$@"
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: run as root to install: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
