#!/usr/bin/env bash
# Installs what is missing, builds Kalvero and starts it; arguments go to the program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$root/tools/setup.sh"
kalvero_install
kalvero_build "$root"
exec "$root/build/kalvero" "$@"
