#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the application
# need. Runs apt only when something is missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build g++ clang libclang-rt-14-dev
    libgtest-dev libbenchmark-dev
    qt6-base-dev qt6-webengine-dev libqt6opengl6-dev libgl-dev
    fonts-wqy-microhei xvfb xauth desktop-file-utils
    python3 time
    lintian appstream man-db
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update -qq
    $SUDO apt-get install -y -qq "${missing[@]}"
fi
