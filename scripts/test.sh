#!/usr/bin/env bash
# Builds and runs every test: the unit and window tests, the unit tests again
# under AddressSanitizer + UndefinedBehaviorSanitizer, a short bounded run of
# each fuzz target, and the Windows builds with their tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

fuzz_seconds=${FUZZ_SECONDS:-20}

# Each stage says how far into the run it starts, so a slow stage shows.
stage() {
    echo "== $* (at $((SECONDS / 60))m$((SECONDS % 60))s)"
}

stage "build and test (default preset)"
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default

stage "build and test under AddressSanitizer + UBSan"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

stage "fuzz targets, ${fuzz_seconds}s each, two at a time"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/corpus
# One target; its last lines once it is done. Fails as the target does.
fuzz_one() {
    local target=$1 name status=0
    name=$(basename "$target")
    mkdir -p "build/fuzz/corpus/$name"
    # Seeds kept in the repository join the corpus (read only).
    local seeds=()
    [ -d "fuzz/seeds/$name" ] && seeds=("fuzz/seeds/$name")
    "$target" -max_total_time="$fuzz_seconds" -max_len=65536 -timeout=10 \
        -print_final_stats=0 "build/fuzz/corpus/$name" "${seeds[@]}" \
        >"build/fuzz/$name.log" 2>&1 || status=$?
    echo "-- $name"
    tail -n 2 "build/fuzz/$name.log"
    return $status
}
# One per core; a target that fails stops the script (set -e) at its wait.
running=0
for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    fuzz_one "$target" &
    running=$((running + 1))
    if ((running == 2)); then
        wait -n
        running=$((running - 1))
    fi
done
while ((running > 0)); do
    wait -n
    running=$((running - 1))
done

stage "Windows builds (MinGW-w64), tests under Wine"
bash scripts/test-windows.sh
stage "all tests passed"
