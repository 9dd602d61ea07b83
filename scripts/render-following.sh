#!/usr/bin/env bash
# Takes the README's picture of the window following a log: the south station's log of the
# made-up week (scripts/make-history-week.py), its first lines already written, then a line a
# second while the window follows it, on Xvfb with openbox at 1366x768; the whole screen is
# saved as docs/window-following.png. The archive and settings live in a temporary folder.
# Usage: scripts/render-following.sh [OUTPUT_PNG]     BUILD_DIR=... (default: build/)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$root/docs/window-following.png}"
work="$(mktemp -d)"
source "$root/scripts/lib/x-session.sh"

python3 "$root/scripts/make-history-week.py" "$work"
log="$work/today.log"
head -n 400 "$work/south.log" >"$log"
export XDG_CONFIG_HOME="$work/config" PELORIN_ARCHIVE="$work/archive.sqlite"
QT_QPA_PLATFORM=xcb "$build/app/pelorin-telemetry" --follow "$log" &
pids+=($!)
sleep 3
xdotool key super+Up 2>/dev/null || true
sed -n '401,410p' "$work/south.log" | while IFS= read -r line; do
    printf '%s\n' "$line" >>"$log"
    sleep 1
done
sleep 1
import -window root "$out"
echo "$out"
