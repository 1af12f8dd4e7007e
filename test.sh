#!/usr/bin/env bash
# Installs what is missing, builds Kalvero with its tests and runs the whole suite.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$root/tools/setup.sh"
kalvero_install
kalvero_build "$root"
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
