#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts the window. Without a display it
# says so and runs the command-line decoder on the sample pass instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

"$root/scripts/setup-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DPELORIN_SANITIZE=OFF \
    -DPELORIN_BUILD_UI=ON
cmake --build "$root/build" -j"$(nproc)" --target pelorin-telemetry pelorin-decode

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the window cannot open."
    echo "Running the command-line decoder on the sample pass instead:"
    echo "  build/cli/pelorin-decode samples/pass.txt"
    exec "$root/build/cli/pelorin-decode" "$root/samples/pass.txt"
fi
exec "$root/build/app/pelorin-telemetry" "$@"
