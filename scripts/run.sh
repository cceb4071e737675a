#!/usr/bin/env bash
# Builds the application and starts its window.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target imgcrypt imgcrypt-gui

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display available; to run the window on a virtual one: xvfb-run -a build/default/app/imgcrypt-gui"
    exit 0
fi
exec build/default/app/imgcrypt-gui "$@"
