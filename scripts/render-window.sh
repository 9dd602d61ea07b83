#!/usr/bin/env bash
# Renders the main window (after decoding samples/pass.txt) and the info window to PNG files,
# without a display, on Qt's offscreen platform.
# Usage: scripts/render-window.sh [--steps | --dark] [OUTPUT_DIR]   (default OUTPUT_DIR: docs/)
#   --steps   also the window at start, right after decoding, and with another quantity charted
#   --dark    only the main window under a dark Fusion palette, as main-window-dark.png
#   BUILD_DIR=...   the build directory to use (default: build/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
steps=()
if [[ "${1:-}" == "--steps" || "${1:-}" == "--dark" ]]; then
    steps=("$1")
    shift
fi
out="${1:-$root/docs}"

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j"$(nproc)" --target pelorin-render-window
QT_QPA_PLATFORM=offscreen "$build/tests/ui/pelorin-render-window" "${steps[@]}" "$out" \
    "$root/samples/pass.txt"
