#!/usr/bin/env bash
# Renders the main window (after decoding samples/pass.txt) and the info window to PNG files,
# without a display, on Qt's offscreen platform; also the chart by on-board time and with the
# four statistics, and the window with limits made for the picture (a temporary config folder:
# the user's settings and limits.ini are never read).
# Usage: scripts/render-window.sh [--steps] [OUTPUT_DIR]   (default OUTPUT_DIR: docs/)
#   --steps   also the window at start, right after decoding, and with another quantity charted
#   BUILD_DIR=...   the build directory to use (default: build/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
steps=()
if [[ "${1:-}" == "--steps" ]]; then
    steps=(--steps)
    shift
fi
out="${1:-$root/docs}"

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j"$(nproc)" --target pelorin-render-window
QT_QPA_PLATFORM=offscreen "$build/tests/ui/pelorin-render-window" "${steps[@]}" "$out" \
    "$root/samples/pass.txt"
