#!/usr/bin/env bash
# End-to-end speed and peak memory of the imgcrypt program on the largest file
# the size limit lets through, measured against GNU base64 on the same file
# (which does less work: no container, no password block).
#
#   bash bench/e2e.sh [path/to/imgcrypt]     (default build/default/cli/imgcrypt)
#
# Builds nothing; point it at a Release build. RUNS (default 50) sets the runs
# per command. Runs are timed in interleaved blocks so that load from other
# processes falls on every command alike.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$repo/build/default/cli/imgcrypt}
runs=${RUNS:-50}
if [ ! -x "$bin" ]; then
    echo "e2e.sh: no imgcrypt program at '$bin'; build it first" >&2
    exit 2
fi
bin=$(realpath "$bin")
command -v base64 >/dev/null || { echo "e2e.sh: GNU base64 is missing" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/imgcrypt_e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT

size=5119999
src="$work/photo.jpg"
head -c "$size" /dev/urandom >"$src"
printf 'Tiger#42\n' >"$work/pw"

# One process each, started the same way, output to files as a user would.
run_base64() { base64 -w 76 "$src" >"$work/photo.b64"; }
run_standard() { "$bin" encrypt --password-file "$work/pw" "$src" 2>/dev/null; }
run_high() { "$bin" encrypt --class high --password-file "$work/pw" "$src" 2>/dev/null; }
run_decrypt() { "$bin" decrypt --password-file "$work/pw" "$work/encrypted/photo.jpg" 2>/dev/null; }
run_base64_decode() { base64 -d "$work/photo.b64" >"$work/photo.back"; }

commands=(run_base64 run_standard run_high run_decrypt run_base64_decode)
declare -A total_ns
for c in "${commands[@]}"; do
    "$c"  # warm-up, and the files the later commands read
    total_ns[$c]=0
done

# Everything round-trips before anything is timed.
"$bin" encrypt --password-file "$work/pw" "$src" 2>/dev/null
run_decrypt
cmp -s "$src" "$work/encrypted/decrypted/photo.jpg" || { echo "e2e.sh: standard round trip failed (no output, or other bytes)" >&2; exit 1; }
run_high
run_decrypt
cmp -s "$src" "$work/encrypted/decrypted/photo.jpg" || { echo "e2e.sh: high-class round trip failed (no output, or other bytes)" >&2; exit 1; }
run_standard  # the decrypt runs below read a standard container

blocks=5
per_block=$(((runs + blocks - 1) / blocks))
for ((b = 0; b < blocks; b++)); do
    for c in "${commands[@]}"; do
        start=$(date +%s%N)
        for ((i = 0; i < per_block; i++)); do "$c"; done
        end=$(date +%s%N)
        total_ns[$c]=$((total_ns[$c] + end - start))
    done
done
n=$((blocks * per_block))

ms() { awk -v t="${total_ns[$1]}" -v n="$n" 'BEGIN { printf "%.2f", t / n / 1e6 }'; }
ratio() { awk -v a="${total_ns[$1]}" -v b="${total_ns[$2]}" 'BEGIN { printf "%.2f", a / b }'; }
verdict() { awk -v v="$1" -v t="$2" -v op="$3" 'BEGIN {
    ok = (op == ">=") ? (v >= t) : (v <= t); print ok ? "ok" : "MISSED" }'; }

peak_kib() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }

std_ratio=$(ratio run_base64 run_standard)
high_ratio=$(ratio run_base64 run_high)
dec_ratio=$(ratio run_base64_decode run_decrypt)
mem_std=$(mib "$(peak_kib "$bin" encrypt --password-file "$work/pw" "$src")")
mem_high=$(mib "$(peak_kib "$bin" encrypt --class high --password-file "$work/pw" "$src")")
mem_dec=$(mib "$(peak_kib "$bin" decrypt --password-file "$work/pw" "$work/encrypted/photo.jpg")")

echo "imgcrypt end to end: $size random bytes, $n runs per command, $bin"
printf '  %-34s %8s ms/run\n' "base64 -w 76 FILE > OUT" "$(ms run_base64)"
printf '  %-34s %8s ms/run   base64/imgcrypt %s (target >= 1.2) %s\n' \
    "imgcrypt encrypt (standard)" "$(ms run_standard)" "$std_ratio" "$(verdict "$std_ratio" 1.2 '>=')"
printf '  %-34s %8s ms/run   base64/imgcrypt %s (target >= 1.0) %s\n' \
    "imgcrypt encrypt --class high" "$(ms run_high)" "$high_ratio" "$(verdict "$high_ratio" 1.0 '>=')"
printf '  %-34s %8s ms/run   base64 -d/imgcrypt %s\n' \
    "imgcrypt decrypt (standard)" "$(ms run_decrypt)" "$dec_ratio"
printf '  %-34s %8s ms/run\n' "base64 -d OUT > BACK" "$(ms run_base64_decode)"
printf '  peak memory, encrypt standard: %s MiB (target <= 32) %s\n' "$mem_std" "$(verdict "$mem_std" 32 '<=')"
printf '  peak memory, encrypt high:     %s MiB (target <= 32) %s\n' "$mem_high" "$(verdict "$mem_high" 32 '<=')"
printf '  peak memory, decrypt:          %s MiB\n' "$mem_dec"
