#!/usr/bin/env bash
# Stage: 32-bit x86 (x87) engine tests and cross-build identity
# Builds the engine, the window's core and their tests as a 32-bit x86 program
# with x87 floating point (preset i386) and runs the tests: natively where the
# kernel runs 32-bit programs, otherwise under QEMU's user-mode emulator. Then
# prints the reports of a large sweep of entries from the 64-bit and the
# 32-bit builds and requires them to be byte-identical.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh

require_packages "${BASE_PACKAGES[@]}" g++-multilib file
require_commands as ld file cmp sha256sum

build=build/i386
emulator=()
if runs_32bit_programs; then
  say "this machine runs 32-bit x86 programs; the tests run natively"
else
  # Expected on kernels built without 32-bit emulation; QEMU stands in.
  say "this machine runs no 32-bit x86 programs, so the tests run under qemu-i386-static (expected, not a fault)"
  require_packages qemu-user-static
  require_commands qemu-i386-static
  emulator=("$(command -v qemu-i386-static)")
fi

# Release, as the shipped program is optimised: which x87 results stay in
# 80-bit registers, and so the last bits of a double, depends on the
# optimiser. Only this stage knows whether an emulator is needed, so it
# gives it here (empty where the tests run natively).
cmake --preset i386 -DCMAKE_CROSSCOMPILING_EMULATOR="${emulator[*]:-}" >/dev/null
cmake --build --preset i386 -j "$(build_jobs)"
kind=$(file -b "$build/tests/engine_tests")
grep -q '^ELF 32-bit LSB .* Intel 80386' <<<"$kind" || fail "the tests are not a 32-bit x86 program: $kind"
ctest --preset i386 -j "$(build_jobs)"

# The same sweep from the 64-bit build.
write_linux_sweep "$build/sweep-64.txt"
"${emulator[@]}" "$build/tools/report_sweep" >"$build/sweep-32.txt"
if ! cmp "$build/sweep-64.txt" "$build/sweep-32.txt"; then
  diff <(tr -d '\r' <"$build/sweep-64.txt") <(tr -d '\r' <"$build/sweep-32.txt") | head -n 20 >&2 || true
  fail "the 32-bit build's reports differ from the 64-bit build's"
fi
say "$(wc -c <"$build/sweep-64.txt") bytes of reports identical on both builds" \
    "(sha256 $(sha256sum <"$build/sweep-64.txt" | cut -c1-16))"
