#!/usr/bin/env bash
# Exits 0 when this machine's kernel runs 32-bit x86 programs, 1 otherwise.
# Many 64-bit kernels are built without 32-bit support; Wine's 32-bit loader
# then fails with "Exec format error". The probe is a tiny static i386 program
# that only exits 0, made with the binutils alone (no multilib needed).
set -euo pipefail

command -v as >/dev/null && command -v ld >/dev/null || exit 1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cat >"$dir/probe.s" <<'ASM'
    .globl _start
_start:
    movl $1, %eax
    xorl %ebx, %ebx
    int $0x80
ASM
as --32 -o "$dir/probe.o" "$dir/probe.s" 2>/dev/null || exit 1
ld -m elf_i386 -o "$dir/probe" "$dir/probe.o" 2>/dev/null || exit 1
if "$dir/probe" 2>/dev/null; then exit 0; fi
exit 1
