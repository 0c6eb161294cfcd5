#!/usr/bin/env bash
# Stage: Windows program under Wine
# Builds the Windows program with mingw-w64. The 32-bit x86 build, the one
# that ships, is always built and checked as a file: PE32 for i386, only
# system DLLs imported, the version record and manifest inside. The 64-bit
# build runs the engine, window-core and Win32 window tests under 64-bit
# Wine, headless. Where this machine runs 32-bit x86 programs (tried by
# running one), the 32-bit tests run under 32-bit Wine as well.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh

fail() { echo "40-windows: $*" >&2; exit 1; }
wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
tests=(tests/engine_tests.exe tests/ui/form1_core_tests.exe tests/win32/form1_win32_tests.exe)

# Runs each test program of build $2 with the Wine loader $1, inside the X
# server that xvfb-run started for this call.
if [ "${1:-}" = "--under-x" ]; then
  loader=$2 dir=$3
  for exe in "${tests[@]}"; do
    log="$dir/$(basename "$exe" .exe).log"
    if ! VELLAMIRE_SCREENSHOT_DIR="$dir" timeout 300 "$loader" "$dir/$exe" --gtest_brief=1 >"$log" 2>&1; then
      cat "$log" >&2
      fail "$exe failed under $(basename "$loader")"
    fi
    echo "  $(basename "$exe"): $(grep -o 'PASSED  \] [0-9]* test' "$log" | grep -o '[0-9]*') tests passed"
  done
  # The program itself: its window "Orvandel" must appear on the X server.
  "$loader" "$dir/app/vellamire.exe" >"$dir/vellamire.log" 2>&1 &
  pid=$!
  shown=
  for _ in $(seq 1 120); do
    shown=$(xwininfo -root -tree | grep '"Orvandel"' || true)
    [ -n "$shown" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  [ -n "$shown" ] || { cat "$dir/vellamire.log" >&2; fail "vellamire.exe showed no window within 30 s"; }
  echo "  vellamire.exe: its window \"Orvandel\" appeared, $(grep -Eo '[0-9]+x[0-9]+' <<<"$shown" | head -n 1) pixels with its frame"
  exit 0
fi

require_packages "${BASE_PACKAGES[@]}" g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
  wine64 xvfb xauth x11-utils file
export WINEDEBUG=-all
# No Mono or Gecko: the programs need neither, and Wine would offer to fetch them.
export WINEDLLOVERRIDES="mscoree=;mshtml="

configure() {  # toolchain, build folder
  cmake -S . -B "$2" --toolchain "cmake/toolchains/$1.cmake" -DCMAKE_BUILD_TYPE=Release \
    --no-warn-unused-cli >/dev/null
}

# A Wine prefix of its own under the build folder, made once. Windows are
# left unmanaged: with no window manager on the X server, Wine would wait
# for one at every window that closes.
prepare_prefix() {  # loader, prefix, WINEARCH
  local loader=$1 prefix=$2 arch=$3
  [ -e "$prefix/.ready" ] && return 0
  rm -rf "$prefix"
  mkdir -p "$prefix"
  WINEPREFIX=$prefix WINEARCH=$arch timeout 300 xvfb-run -a "$loader" wineboot --init >/dev/null 2>&1 ||
    fail "wineboot did not finish in $prefix"
  WINEPREFIX=$prefix timeout 120 "$loader" reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f >/dev/null 2>&1 || fail "could not set up $prefix"
  touch "$prefix/.ready"
}

run_tests() {  # loader, prefix, build folder
  WINEPREFIX=$2 timeout 900 xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    bash "$0" --under-x "$1" "$3"
  local status=$?
  WINEPREFIX=$2 timeout 30 /usr/lib/wine/wineserver -k 2>/dev/null || true
  return $status
}

ran=()

# --- 32-bit x86: the program that ships -----------------------------------
b32=build/win32-i686
configure mingw-i686 "$b32"
cmake --build "$b32" -j "$(jobs)" --target vellamire
exe="$b32/app/vellamire.exe"
# file 5.44 says "PE32 executable (GUI) Intel 80386", later versions "Intel i386".
kind=$(file -b "$exe")
grep -Eq '^PE32 executable.*\(GUI\).*Intel (80386|i386)' <<<"$kind" || fail "not a 32-bit x86 GUI program: $kind"
i686-w64-mingw32-objdump -f "$exe" | grep -q 'file format pei-i386' || fail "objdump does not read a pei-i386 image"
# The system's own DLLs only: nothing of the compiler's runtime.
imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
for dll in $imports; do
  case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | advapi32.dll | comctl32.dll) ;;
    *) fail "imports $dll, which Windows does not have" ;;
  esac
done
resources=$(i686-w64-mingw32-windres -i "$exe" -O rc)
for want in 'VALUE "ProductName", "Vellamire"' 'VALUE "ProductVersion", "1.00"' \
            'VALUE "FileVersion", "1.0.0.0"' 'FILEVERSION 1, 0, 0, 0' 'VALUE "FileDescription"' \
            '/* RT_MANIFEST */' 'dpiAware' 'supportedOS' '/* RT_GROUP_ICON */'; do
  grep -qF "$want" <<<"$resources" || fail "the resources lack: $want"
done
size=$(stat -c %s "$exe")
echo "40-windows: $exe: ${kind%%,*}, $size bytes, imports $(echo $imports)"
ran+=("i686 build checked as a file ($size bytes)")

# --- 64-bit x86: tests under 64-bit Wine -----------------------------------
b64=build/win32-x86_64
configure mingw-x86_64 "$b64"
cmake --build "$b64" -j "$(jobs)"
file -b "$b64/app/vellamire.exe" | grep -q '^PE32+ executable (GUI) x86-64' || fail "the 64-bit build is not a PE32+ program"
prepare_prefix "$wine64" "$PWD/$b64/wine" win64
echo "40-windows: x86_64 tests under wine64"
run_tests "$wine64" "$PWD/$b64/wine" "$b64" || fail "x86_64 tests under wine64 failed"
ran+=("x86_64 tests under wine64")

# --- 32-bit tests, where the kernel runs 32-bit x86 programs ---------------
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$probe/exit.s"
runs32=no
if as --32 -o "$probe/exit.o" "$probe/exit.s" 2>/dev/null && ld -m elf_i386 -o "$probe/exit" "$probe/exit.o" 2>/dev/null; then
  if "$probe/exit" 2>"$probe/err"; then runs32=yes; fi
fi
if [ "$runs32" = yes ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    [ "$(id -u)" -eq 0 ] || fail "32-bit Wine needs the i386 architecture: dpkg --add-architecture i386"
    dpkg --add-architecture i386
    unset VELLAMIRE_APT_UPDATED
  fi
  require_packages wine32:i386
  cmake --build "$b32" -j "$(jobs)"
  prepare_prefix "$wine32" "$PWD/$b32/wine" win32
  echo "40-windows: i686 tests under wine32"
  run_tests "$wine32" "$PWD/$b32/wine" "$b32" || fail "i686 tests under wine32 failed"
  ran+=("i686 tests under wine32")
else
  echo "40-windows: this machine runs no 32-bit x86 programs ($(sed 's/.*: //' "$probe/err" 2>/dev/null | head -n 1)); 32-bit Wine skipped"
  ran+=("i686 tests under wine32 SKIPPED: no 32-bit x86 programs run here")
fi

echo "40-windows: builds that ran:"
printf '  %s\n' "${ran[@]}"
