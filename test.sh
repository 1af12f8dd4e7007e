#!/usr/bin/env bash
# Installs what is missing, builds Kalvero with its tests and runs the whole suite.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$root/tools/setup.sh"
kalvero_install
kalvero_install "${KALVERO_TEST_PACKAGES[@]}"
# The store tests run on a SQLite file and on a private PostgreSQL server; the benchmark's
# helper program is built too, so that it keeps up with the program.
kalvero_build "$root" -DKALVERO_SERVER_TESTS=ON -DKALVERO_BENCH=ON
cd "$root/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
