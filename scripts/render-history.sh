#!/usr/bin/env bash
# Takes the README's picture of the History window: a made-up week of passes from two stations
# (scripts/make-history-week.py) in a fresh archive, the window program on Xvfb with openbox at
# 1366x768, File > History... by its key, and the whole screen saved as docs/history-window.png.
# A temporary folder holds the archive, the settings and the logs; the user's are never read.
# Usage: scripts/render-history.sh [OUTPUT_PNG]     BUILD_DIR=... (default: build/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$root/docs/history-window.png}"
work="$(mktemp -d)"
source "$root/scripts/lib/x-session.sh"

python3 "$root/scripts/make-history-week.py" "$work"
for station in north south; do
    "$build/cli/pelorin-archive" add --archive "$work/archive.sqlite" --station "$station" \
        "$work/$station.log" >/dev/null
done

export XDG_CONFIG_HOME="$work/config" PELORIN_ARCHIVE="$work/archive.sqlite"
QT_QPA_PLATFORM=xcb "$build/app/pelorin-telemetry" &
pids+=($!)
sleep 3
xdotool key ctrl+h
sleep 4
import -window root "$out"
echo "$out"
