#!/usr/bin/env bash
# Renders the PNG icons from packaging/icons/kalvero.svg (needs rsvg-convert from librsvg2-bin).
# The PNGs are committed, so building the package needs no converter; run this after the SVG
# changes.
set -euo pipefail
icons="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/icons"
if ! command -v rsvg-convert >/dev/null; then
    echo "rsvg-convert is missing: apt-get install librsvg2-bin" >&2
    exit 1
fi
for size in 256 48; do
    rsvg-convert --width "$size" --height "$size" --format png \
        --output "$icons/kalvero-$size.png" "$icons/kalvero.svg"
    echo "$icons/kalvero-$size.png"
done
