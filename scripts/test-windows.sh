#!/usr/bin/env bash
# Cross-builds the Windows programs (the command line, the native window and
# everything below them) for 32-bit and 64-bit Windows with MinGW-w64 and runs
# their tests under Wine (the window tests on a virtual X display), the
# checks of the zip and of the setup program (installed and uninstalled in a
# fresh prefix) included. Both builds always; the 64-bit tests always, the
# 32-bit ones only where this machine's kernel runs 32-bit programs (the run
# says so).
#
# Fails when anything does not build or a test fails. A failed build stops
# the run before any test, so no test program left over from an earlier
# build can stand in for one that no longer builds.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-windows-deps.sh

run32=0
if bash scripts/can-run-32bit.sh; then run32=1; fi

# Every prefix this script booted has its Wine server stopped on the way out,
# failed runs included.
booted=()
stop_wine() {
    local entry
    for entry in "${booted[@]}"; do
        # shellcheck disable=SC2086
        scripts/wine-run $entry --stop || true
    done
}
# The window tests need an X display for Wine's windows; it stops after Wine.
source scripts/virtual-display.sh
trap 'stop_wine; stop_virtual_display' EXIT

for preset in windows-x64 windows-x86; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

# Both bitnesses are tested before the result is told.
status=0
run_tests() {
    local preset=$1 loader=$2
    local prefix="$PWD/build/$preset/wine-prefix"
    echo "== booting the Wine prefix of $preset"
    booted+=("$loader $prefix")
    scripts/wine-run "$loader" "$prefix" --boot
    echo "== tests of $preset under Wine"
    ctest --preset "$preset" || status=1
}

# The display comes before the prefixes boot: a prefix booted without one
# cannot create windows later.
start_virtual_display
echo "== virtual X display $DISPLAY for the window tests"
run_tests windows-x64 /usr/lib/wine/wine64
if ((run32)); then
    run_tests windows-x86 /usr/lib/wine/wine
else
    echo "== 32-bit Windows tests skipped: this machine's kernel does not run 32-bit programs" \
        "(the 32-bit build above compiled warning-free)"
fi
if ((status)); then
    echo "== Windows tests failed"
else
    echo "== Windows builds and tests passed"
fi
exit $status
