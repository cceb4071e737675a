#!/usr/bin/env bash
# Installs the Debian 12 packages the Windows cross builds and their tests
# need: the MinGW-w64 cross compilers, GoogleTest's sources, Wine, and for the
# window tests a virtual X display and a CJK font (Chinese captions). The
# 32-bit Wine is installed only where the kernel runs 32-bit programs at all
# (it needs the i386 architecture and takes minutes to install); elsewhere the
# 32-bit tests are skipped. Runs apt only when something is missing.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build mingw-w64 googletest wine64 binutils xvfb fonts-wqy-microhei)
want_wine32=0
if bash scripts/can-run-32bit.sh; then
    want_wine32=1
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

# Another apt run (a second build on the same machine) holds the lock for a
# while; wait for it instead of failing.
apt_get() {
    local try
    for try in $(seq 1 60); do
        if $SUDO apt-get -o DPkg::Lock::Timeout=60 "$@"; then return 0; fi
        echo "apt-get $1 failed (try $try), retrying in 10 s" >&2
        sleep 10
    done
    return 1
}

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for p in "${packages[@]}"; do
    installed "$p" || missing+=("$p")
done
if ((want_wine32)) && ! installed wine32:i386; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
    fi
    missing+=(wine32:i386)
fi

if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    apt_get update -qq
    apt_get install -y -qq --no-install-recommends "${missing[@]}"
fi
