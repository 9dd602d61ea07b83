#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the whole test suite twice: under
# AddressSanitizer + UndefinedBehaviorSanitizer, then in the normal build (GUI tests on Qt's
# offscreen platform, the X11 window tests on Xvfb; no display needed). The archive's tests run
# on SQLite and on a PostgreSQL cluster started for them.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
jobs="$(nproc)"

"$root/scripts/setup-deps.sh"

cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DPELORIN_SANITIZE=ON \
    -DPELORIN_BUILD_UI=ON -DPELORIN_BUILD_TESTS=ON -DPELORIN_BUILD_BENCH=OFF
cmake --build "$root/build-asan" -j"$jobs"
# The benchmarks are built, so that they keep compiling, but not run.
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release -DPELORIN_SANITIZE=OFF \
    -DPELORIN_BUILD_UI=ON -DPELORIN_BUILD_TESTS=ON -DPELORIN_BUILD_BENCH=ON
cmake --build "$root/build" -j"$jobs"

# Throwaway PostgreSQL clusters for the archive's tests on a server, stopped however they end:
# one on a Unix socket, and one with SSL on the loopback address for the URI's sslmode.
cluster="$(mktemp -d)"
tls_cluster="$(mktemp -d)"
trap '"$root/scripts/pg-cluster.sh" stop "$cluster"; "$root/scripts/pg-cluster.sh" stop "$tls_cluster"' EXIT
PELORIN_TEST_POSTGRES="$("$root/scripts/pg-cluster.sh" start "$cluster")"
PELORIN_TEST_POSTGRES_TLS="$("$root/scripts/pg-cluster.sh" start "$tls_cluster" --tls)"
export PELORIN_TEST_POSTGRES PELORIN_TEST_POSTGRES_TLS

echo "== Tests under AddressSanitizer + UndefinedBehaviorSanitizer, the GUI tests included"
# The one leak report left comes from inside the system's D-Bus library (see the file).
QT_QPA_PLATFORM=offscreen LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
    ctest --test-dir "$root/build-asan" --output-on-failure -j"$jobs"
echo "== All tests"
QT_QPA_PLATFORM=offscreen ctest --test-dir "$root/build" --output-on-failure -j"$jobs"
