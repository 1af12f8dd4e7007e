#!/usr/bin/env bash
# Checks that every C++ file of the project is formatted as .clang-format says; names the
# files that are not and exits 1. `clang-format -i FILE` formats one.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
source "$root/tools/setup.sh"
kalvero_install "${KALVERO_FORMAT_PACKAGES[@]}"
cd "$root"
if ! git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
    echo "format-check: the lines above differ from .clang-format (clang-format -i FILE)" >&2
    exit 1
fi
echo "format-check: $(git ls-files -- '*.cpp' '*.h' | wc -l) files formatted as .clang-format says"
