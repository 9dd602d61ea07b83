#!/usr/bin/env bash
# Renders the main window (after decoding samples/pass.txt) and the info window to PNG files,
# without a display, on Qt's offscreen platform; also the chart by on-board time and with the
# four statistics, and the window with limits made for the picture (a temporary config folder:
# the user's settings and limits.ini are never read).
# Usage: scripts/render-window.sh [--steps | --dark | --screen WIDTHxHEIGHT] [OUTPUT_DIR]
#                                                              (default OUTPUT_DIR: docs/)
#   --steps   also the window at start, right after decoding, and with another quantity charted
#   --dark    only the main window under a dark Fusion palette, as main-window-dark.png
#   --screen  instead the whole screen of that size with the main window, scrolled to the
#             bottom line where the window does not fit (on Xvfb, without a window manager):
#             main-window-WIDTHxHEIGHT.png
#   BUILD_DIR=...   the build directory to use (default: build/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
mode=()
screen=""
case "${1:-}" in
    --steps | --dark) mode=("$1"); shift ;;
    --screen) mode=(--screen); screen="$2"; shift 2 ;;
esac
out="${1:-$root/docs}"

if [[ ! -f "$build/CMakeCache.txt" ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j"$(nproc)" --target pelorin-render-window
render=("$build/tests/ui/pelorin-render-window" "${mode[@]}" "$out" "$root/samples/pass.txt")
if [[ -n "$screen" ]]; then
    QT_QPA_PLATFORM=xcb xvfb-run --auto-servernum --server-args="-screen 0 ${screen}x24" \
        "${render[@]}"
else
    "${render[@]}"  # offscreen, on a screen large enough for the designed size
fi
