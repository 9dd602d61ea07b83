#!/usr/bin/env bash
# Rebuilds the icon and the info window's picture from generate_artwork.cpp, offscreen.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
g++ -std=c++20 -O1 -fPIC -o "$work/generate_artwork" "$here/generate_artwork.cpp" \
    $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen "$work/generate_artwork" "$here/pelorin-telemetry.png" \
    "$here/spacecraft.bmp"
echo "Wrote $here/pelorin-telemetry.png and $here/spacecraft.bmp"
