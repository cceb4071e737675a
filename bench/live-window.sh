#!/usr/bin/env bash
# The windows during sealed runs, measured through the real windows: the Qt
# window on the offscreen platform, the Win32 window under Wine (64-bit, and
# 32-bit where this machine runs 32-bit programs) on a virtual X display. For
# each: the longest time the window went without handling its input while
# the key was derived and while a large file was sealed and opened, and how
# soon a Cancel pressed a third into the large file stopped the run (goal:
# within a second, no output left). Exit status 1 when a Cancel missed that.
#
#   bash bench/live-window.sh [MEGABYTES]       (default 300)
#
# Builds what it runs (the default and Windows presets); writes about three
# times MEGABYTES into temporary folders, removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
megabytes=${1:-300}

cmake --preset default >/dev/null
cmake --build --preset default --target imgcrypt-live-window
status=0
QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu \
    build/default/tests/ui/imgcrypt-live-window "$megabytes" 2>/dev/null || status=1

bash scripts/install-windows-deps.sh >/dev/null
source scripts/virtual-display.sh
trap stop_virtual_display EXIT
start_virtual_display
measure() {
    local preset=$1 loader=$2
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target winui_live_window_measure
    local prefix="$PWD/build/$preset/wine-prefix"
    scripts/wine-run "$loader" "$prefix" --boot
    scripts/wine-run "$loader" "$prefix" \
        "build/$preset/tests/winui/winui_live_window_measure.exe" "$megabytes" || status=1
    scripts/wine-run "$loader" "$prefix" --stop || true
}
measure windows-x64 /usr/lib/wine/wine64
if bash scripts/can-run-32bit.sh; then
    measure windows-x86 /usr/lib/wine/wine
else
    echo "32-bit Windows window skipped: this machine's kernel does not run 32-bit programs"
fi
exit $status
