# Stage: 32-bit x86 (x87) engine tests and cross-build identity
# Builds the engine, the window's core and their tests as a 32-bit x86 program
# with x87 floating point and runs the tests: natively where the kernel runs
# 32-bit programs, otherwise under QEMU's user-mode emulator. Then prints the
# reports of a large sweep of entries from the 64-bit and the 32-bit builds and
# requires them to be byte-identical.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages "${BASE_PACKAGES[@]}" g++-multilib

build=build/i386
mkdir -p "$build"

# Whether this kernel runs 32-bit x86 programs: run one and see.
probe="$build/probe32"
printf 'int main(void) { return 0; }\n' | gcc -m32 -x c - -o "$probe"
emulator=()
if "$probe" 2>/dev/null; then
  echo "32-bit programs run natively here"
else
  echo "32-bit programs do not run here ($("$probe" 2>&1 | tail -n 1 || true)); using qemu-i386-static"
  require_packages qemu-user-static
  emulator=(/usr/bin/qemu-i386-static)
  "${emulator[@]}" "$probe" || { echo "10-i386: qemu-i386-static cannot run a 32-bit program" >&2; exit 1; }
fi

cmake -S . -B "$build" --toolchain cmake/toolchains/linux-i386-x87.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CROSSCOMPILING_EMULATOR="${emulator[*]:-}" >/dev/null
cmake --build "$build" -j "$(jobs)"
file "$build/tests/engine_tests" | grep -q 'ELF 32-bit LSB .* Intel 80386' ||
  { echo "10-i386: the tests are not a 32-bit x86 program" >&2; exit 1; }
ctest --test-dir "$build" -j "$(jobs)" --output-on-failure --no-tests=error

# The same sweep from the 64-bit build.
cmake --preset engine >/dev/null
cmake --build --preset engine -j "$(jobs)" --target report_sweep
build/engine/tools/report_sweep >"$build/sweep-64.txt"
"${emulator[@]}" "$build/tools/report_sweep" >"$build/sweep-32.txt"
if ! cmp "$build/sweep-64.txt" "$build/sweep-32.txt"; then
  diff <(tr -d '\r' <"$build/sweep-64.txt") <(tr -d '\r' <"$build/sweep-32.txt") | head -n 20 >&2 || true
  echo "10-i386: the 32-bit build's reports differ from the 64-bit build's" >&2
  exit 1
fi
echo "10-i386: $(wc -c <"$build/sweep-64.txt") bytes of reports identical on both builds" \
     "(sha256 $(sha256sum <"$build/sweep-64.txt" | cut -c1-16))"
