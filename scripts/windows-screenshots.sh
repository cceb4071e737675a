#!/usr/bin/env bash
# Takes the Windows pictures of docs/screenshots: the native window under Wine
# (64-bit build) on a virtual X display, at rest and during a run, in English
# and Chinese (win_en_rest.png, win_en_run.png, win_ch_rest.png,
# win_ch_run.png). The prefix's settings (scripts/wine-run) give Chinese
# captions a CJK font and the frame the height of Windows 10's.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-windows-deps.sh
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target winui_screenshots

loader=/usr/lib/wine/wine64
prefix="$PWD/build/windows-x64/wine-prefix"
pictures=$(mktemp -d)
source scripts/virtual-display.sh
cleanup() {
    scripts/wine-run "$loader" "$prefix" --stop || true
    stop_virtual_display
    rm -rf "$pictures"
}
trap cleanup EXIT

start_virtual_display
scripts/wine-run "$loader" "$prefix" --boot
scripts/wine-run "$loader" "$prefix" build/windows-x64/tests/winui/winui_screenshots.exe \
    "Z:$pictures"
for name in win_en_rest win_en_run win_ch_rest win_ch_run; do
    python3 scripts/bmp-to-png.py "$pictures/$name.bmp" "docs/screenshots/$name.png"
done
echo "== docs/screenshots/win_*.png written"
