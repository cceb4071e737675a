#!/usr/bin/env bash
# Installs the Debian 12 packages the Windows cross builds and their tests
# need: the MinGW-w64 cross compilers, libgcrypt and libgpg-error built for
# them, GoogleTest's sources, NSIS for the setup programs, Wine, Python with
# the outside implementation of the sealed format
# (tests/cli/sealed_reference.py), and for the window tests a virtual X
# display and a CJK font (Chinese captions). The 32-bit Wine is installed only where the kernel runs 32-bit programs at all
# (it needs the i386 architecture and takes minutes to install); elsewhere the
# 32-bit tests are skipped. Runs apt only when something is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/apt-packages.sh

packages=(cmake ninja-build mingw-w64 googletest nsis wine64 binutils xvfb fonts-wqy-microhei
    libgcrypt-mingw-w64-dev libgpg-error-mingw-w64-dev python3 python3-argon2 python3-cryptography)
if bash scripts/can-run-32bit.sh; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        as_root dpkg --add-architecture i386
    fi
    packages+=(wine32:i386)
fi
install_missing --no-install-recommends -- "${packages[@]}"
