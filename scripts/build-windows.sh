#!/usr/bin/env bash
# Builds the Windows programs for 32-bit and 64-bit Windows (MinGW-w64) and
# packs each build with CPack into a zip (the programs, the help pages and a
# read-me in one folder, ready to unpack and run anywhere) and a setup
# program of the same files (NSIS):
#   build/windows-x86/imgcrypt-<version>-win32.zip, -win32-setup.exe
#   build/windows-x64/imgcrypt-<version>-win64.zip, -win64-setup.exe
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-windows-deps.sh

packages=()
for preset in windows-x86 windows-x64; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    (cd "build/$preset" && cpack >/dev/null)
    packages+=("build/$preset"/imgcrypt-*-win*.zip "build/$preset"/imgcrypt-*-win*-setup.exe)
done
ls -l "${packages[@]}"
