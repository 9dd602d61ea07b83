#!/usr/bin/env bash
# Installs the Debian packages the project needs, and only those that are missing.
# Usage: scripts/setup-deps.sh [--fuzz] [--package] [--pictures]
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev libsqlite3-dev libpq-dev postgresql openssl
    qt6-base-dev qt6-qpa-plugins libqcustomplot-dev libqcustomplot2.1-qt6 libgl-dev
    fonts-dejavu-core fonts-liberation2
    xvfb xauth x11-utils dbus-daemon
)
for arg in "$@"; do
    case "$arg" in
        --fuzz) packages+=(clang libclang-rt-14-dev) ;;
        --package) packages+=(dpkg-dev file) ;;
        --pictures) packages+=(openbox xdotool imagemagick) ;;  # scripts/render-history.sh
        *) echo "setup-deps.sh: unknown option $arg" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

sudo_cmd=()
if [[ "$(id -u)" != 0 ]]; then
    sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
