#!/usr/bin/env bash
# Installs every Debian 12 package the build, the tests and the application
# need. Runs apt only when something is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/apt-packages.sh

install_missing -- \
    build-essential cmake ninja-build g++ clang libclang-rt-14-dev \
    libgtest-dev libbenchmark-dev \
    qt6-base-dev qt6-webengine-dev libqt6opengl6-dev libgl-dev \
    fonts-wqy-microhei xvfb xauth desktop-file-utils \
    libgcrypt20-dev python3 python3-argon2 python3-cryptography time \
    lintian appstream man-db
