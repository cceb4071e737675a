#!/usr/bin/env bash
# Builds the Windows programs for 32-bit and 64-bit Windows (MinGW-w64) and
# packs each build into a zip with CPack: the programs, the help pages and a
# read-me in one folder, ready to unpack and run anywhere:
#   build/windows-x86/imgcrypt-<version>-win32.zip
#   build/windows-x64/imgcrypt-<version>-win64.zip
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-windows-deps.sh

zips=()
for preset in windows-x86 windows-x64; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    (cd "build/$preset" && cpack -G ZIP >/dev/null)
    zips+=("build/$preset"/imgcrypt-*-win*.zip)
done
ls -l "${zips[@]}"
