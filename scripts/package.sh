#!/usr/bin/env bash
# Builds the Debian package build/default/imgcrypt_<version>_<arch>.deb:
# installs into /usr, programs stripped (the build folder keeps its debug
# information). Install it with: apt install ./build/default/imgcrypt_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target imgcrypt imgcrypt-gui imgcrypt_docs
cd build/default
cpack -G DEB
ls -1 "$PWD"/imgcrypt_*.deb
