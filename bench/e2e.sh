#!/usr/bin/env bash
# End-to-end speed of the imgcrypt program against copying the same bytes:
# each direction of both classes on the largest file the size limit lets
# through, against `cat` and GNU base64; 300 files of 100 KB against `cp`;
# and the peak memory of each direction.
#
#   bash bench/e2e.sh [path/to/imgcrypt]     (default build/default/cli/imgcrypt)
#
# Builds nothing; point it at an optimised build. Every figure is whole-process
# wall time. PAIRS (default 31, at least 21) sets how many pairs each row
# times: the program and its reference run back to back, in alternating
# order, so load from other processes falls on both alike; a row's ratio is
# the median of its pairs' ratios. Every command writes its files into an
# output folder that it makes (the references with `mkdir`), as the program
# does; clearing the folders away is not timed. Run it when the machine is
# quiet: the load average is printed at the start and the end.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-$repo/build/default/cli/imgcrypt}
pairs=${PAIRS:-31}
if [ ! -x "$bin" ]; then
    echo "e2e.sh: no imgcrypt program at '$bin'; build it first" >&2
    exit 2
fi
if ((pairs < 21)); then
    echo "e2e.sh: PAIRS must be at least 21" >&2
    exit 2
fi
bin=$(realpath "$bin")
for tool in base64 cat cp /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "e2e.sh: $tool is missing" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/imgcrypt_e2e.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

size=5119999
head -c "$size" /dev/urandom >photo.jpg
printf 'Tiger#42\n' >pw
mkdir many
for i in $(seq -w 1 300); do head -c 102400 /dev/urandom >"many/p$i.jpg"; done
many=(many/p*.jpg)

# Inputs of the decrypt rows: one container of each class, in folders of
# their own, and the 300 containers.
mkdir std high
"$bin" encrypt --password-file pw photo.jpg 2>/dev/null
mv encrypted/photo.jpg std/photo.jpg
"$bin" encrypt --class high --password-file pw photo.jpg 2>/dev/null
mv encrypted/photo.jpg high/photo.jpg
"$bin" encrypt --password-file pw "${many[@]}" 2>/dev/null
mv many/encrypted many-containers
containers=(many-containers/p*.jpg)
rm -rf encrypted

# Everything round-trips before anything is timed.
for cls in std high; do
    "$bin" decrypt --password-file pw "$cls/photo.jpg" 2>/dev/null
    cmp -s photo.jpg "$cls/decrypted/photo.jpg" ||
        { echo "e2e.sh: $cls round trip failed (no output, or other bytes)" >&2; exit 1; }
done
"$bin" decrypt --password-file pw "${containers[@]}" 2>/dev/null
for f in "${many[@]}"; do
    cmp -s "$f" "many-containers/decrypted/${f#many/}" ||
        { echo "e2e.sh: round trip of $f failed" >&2; exit 1; }
done

# The timed commands. Each clears its output first (not timed); `cat` and
# `cp` get an empty output folder, the program makes its own.
# Outputs are moved aside, not deleted, while a row runs: ext4 passes over
# the inodes of files deleted in the last 30 s when it makes new ones, so a
# row deleting thousands of files would time that search rather than the
# commands. Rows of single files empty the trash when they end; the two rows
# of 300 files come last and leave theirs to the end.
mkdir trash
fresh() { if [ -e "$1" ]; then mv "$1" "$(mktemp -d trash/XXXXXX)/"; fi; }
empty_trash() { rm -rf trash && mkdir trash; }

prep_enc_std() { fresh encrypted; }
run_enc_std() { "$bin" encrypt --password-file pw photo.jpg 2>/dev/null; }
prep_enc_high() { fresh encrypted; }
run_enc_high() { "$bin" encrypt --class high --password-file pw photo.jpg 2>/dev/null; }
prep_dec_std() { fresh std/decrypted; }
run_dec_std() { "$bin" decrypt --password-file pw std/photo.jpg 2>/dev/null; }
prep_dec_high() { fresh high/decrypted; }
run_dec_high() { "$bin" decrypt --password-file pw high/photo.jpg 2>/dev/null; }
prep_enc_many() { fresh many/encrypted; }
run_enc_many() { "$bin" encrypt --password-file pw "${many[@]}" 2>/dev/null; }
prep_dec_many() { fresh many-containers/decrypted; }
run_dec_many() { "$bin" decrypt --password-file pw "${containers[@]}" 2>/dev/null; }

# The references make their output folder as the program does: `mkdir`,
# then the copy.
prep_ref() { fresh out; }
prep_cat_src() { prep_ref; }
run_cat_src() { mkdir out && cat photo.jpg >out/photo.jpg; }
prep_cat_std() { prep_ref; }
run_cat_std() { mkdir out && cat std/photo.jpg >out/photo.jpg; }
prep_cat_high() { prep_ref; }
run_cat_high() { mkdir out && cat high/photo.jpg >out/photo.jpg; }
prep_base64_enc() { prep_ref; }
run_base64_enc() { mkdir out && base64 -w 76 photo.jpg >out/photo.b64; }
# Stops with "invalid input" at the container's trailer, after the payload.
prep_base64_dec() { prep_ref; }
run_base64_dec() { mkdir out && { base64 -d -i std/photo.jpg >out/photo.jpg 2>/dev/null || true; }; }
prep_cp_many() { prep_ref; }
run_cp_many() { mkdir out && cp "${many[@]}" out/; }
prep_cp_containers() { prep_ref; }
run_cp_containers() { mkdir out && cp "${containers[@]}" out/; }

# Prints the wall time of one command in microseconds.
timed() {
    "prep_$1"
    local start=$EPOCHREALTIME
    "run_$1"
    local end=$EPOCHREALTIME
    echo $((10#${end//[.,]/} - 10#${start//[.,]/}))
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# One row: PAIRS pairs of (program, reference), alternating which runs first.
row() {
    local label=$1 prog=$2 ref=$3 goal=$4
    local ratios=() progs=() refs=() p r i
    "prep_$prog"; "run_$prog"; "prep_$ref"; "run_$ref"  # warm-up
    for ((i = 0; i < pairs; i++)); do
        if ((i % 2)); then
            r=$(timed "$ref"); p=$(timed "$prog")
        else
            p=$(timed "$prog"); r=$(timed "$ref")
        fi
        progs+=("$p"); refs+=("$r")
        ratios+=("$(awk -v p="$p" -v r="$r" 'BEGIN { printf "%.4f", p / r }')")
    done
    local ratio pm rm verdict=""
    ratio=$(printf '%s\n' "${ratios[@]}" | median)
    pm=$(printf '%s\n' "${progs[@]}" | median)
    rm=$(printf '%s\n' "${refs[@]}" | median)
    if [ "$goal" != "-" ]; then
        verdict=$(awk -v v="$ratio" -v g="$goal" 'BEGIN { print (v <= g) ? "ok" : "MISSED" }')
    fi
    printf '| %-56s | %5.2f | %4s %-6s | %7.2f | %7.2f |\n' "$label" "$ratio" "$goal" "$verdict" \
        "$(awk -v t="$pm" 'BEGIN { print t / 1000 }')" "$(awk -v t="$rm" 'BEGIN { print t / 1000 }')"
}

peak_mib() {
    /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -n 1 | awk '{ printf "%.1f", $1 / 1024 }'
}

read -r load1 _ < /proc/loadavg
echo "imgcrypt end to end: $bin"
echo "$size random bytes; 300 files of 102,400 bytes; $pairs pairs per row;" \
    "$(nproc) cores, load average $load1 at the start"
echo
echo "| Work                                                     | Ratio | Goal        | ms prog | ms ref  |"
echo "|---|---|---|---|---|"
row "encrypt, standard class, vs cat src > out" enc_std cat_src 1.2 && empty_trash
row "encrypt, standard class, vs base64 -w 76 src > out" enc_std base64_enc - && empty_trash
row "encrypt, high class, vs cat src > out" enc_high cat_src 1.2 && empty_trash
row "decrypt, standard class, vs cat container > out" dec_std cat_std 1.2 && empty_trash
row "decrypt, standard class, vs base64 -d -i container > out" dec_std base64_dec - && empty_trash
row "decrypt, high class, vs cat container > out" dec_high cat_high 1.2 && empty_trash
row "encrypt 300 files of 100 KB, vs cp of them" enc_many cp_many 1.5
row "decrypt 300 containers, vs cp of them" dec_many cp_containers -
read -r load1 _ < /proc/loadavg
echo
echo "load average at the end: $load1"
echo
prep_enc_std
echo "peak memory (maximum resident set), MiB:" \
    "encrypt standard $(peak_mib "$bin" encrypt --password-file pw photo.jpg)," \
    "encrypt high $(prep_enc_high; peak_mib "$bin" encrypt --class high --password-file pw photo.jpg)," \
    "decrypt standard $(prep_dec_std; peak_mib "$bin" decrypt --password-file pw std/photo.jpg)," \
    "decrypt high $(prep_dec_high; peak_mib "$bin" decrypt --password-file pw high/photo.jpg)," \
    "cat $(prep_cat_src; peak_mib cat photo.jpg)"
