#!/usr/bin/env bash
# Builds the Debian package from this checkout: installs what is missing, makes a Release
# build of the two programs in build-package/ and runs CPack there. Prints the package's path.
# Install it with: sudo apt install ./build-package/pelorin-telemetry_<version>_<arch>.deb
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build-package}"

"$root/scripts/setup-deps.sh" --package
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DPELORIN_BUILD_UI=ON -DPELORIN_BUILD_TESTS=OFF -DPELORIN_BUILD_BENCH=OFF \
    -DPELORIN_SANITIZE=OFF
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G DEB)
ls "$build"/*.deb
