#!/usr/bin/env bash
# Stage: Windows program under Wine
# Builds the Windows program with mingw-w64. The 32-bit x86 program, the one
# that ships, is built as docs/windows.md says (the windows preset) and
# checked as a file: PE32 for i386, only system DLLs imported
# (GetDpiForWindow not among the imports), ASLR and NX (DYNAMIC_BASE with its relocations,
# NX_COMPAT), the version record (with the copyright line of LICENSE) and
# the manifest (per-monitor DPI awareness, the common controls of version 6)
# inside, and no larger than its budget. The 32-bit and the 64-bit builds
# with their tests are built on every machine. The 64-bit one runs the engine,
# window-core and Win32 window tests under 64-bit Wine, shows the program's
# window, and prints the report sweep, which must be byte-identical to the
# 64-bit Linux build's. Where this machine runs 32-bit x86 programs (tried
# by running one), the 32-bit build does all of that under 32-bit Wine too.
#
# Everything runs on one X server (Xvfb) started for the stage, and each Wine
# prefix has one Wine server, started persistent before the first program and
# ended with the stage, so no program meets a server that is shutting down.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh

require_packages "${BASE_PACKAGES[@]}" g++-mingw-w64-i686 g++-mingw-w64-x86-64 \
  wine64 xvfb x11-utils file
require_commands i686-w64-mingw32-objdump i686-w64-mingw32-windres file Xvfb xwininfo cmp

wine64=/usr/lib/wine/wine64
wine32=/usr/lib/wine/wine
# The server itself, not Debian's wrapper /usr/lib/wine/wineserver, which
# always adds -p0 (end as soon as the last program ends).
wineserver=/usr/lib/wine/wineserver64
if [ ! -x "$wine64" ] || [ ! -x "$wineserver" ]; then
  fail "wine64 is installed but $wine64 or $wineserver is missing"
fi
tests=(tests/engine_tests.exe tests/ui/form1_core_tests.exe tests/win32/form1_win32_tests.exe)
# The most the shipped vellamire.exe may weigh, in bytes (256 KiB);
# docs/windows.md tells what keeps it small.
size_budget=262144

export WINEDEBUG=-all
# No Mono or Gecko: the programs need neither, and Wine would offer to fetch them.
export WINEDLLOVERRIDES="mscoree=;mshtml="

scratch=$(mktemp -d)
xvfb_pid=
servers=()
finish() {
  local prefix
  for prefix in "${servers[@]}"; do
    WINEPREFIX=$prefix timeout 30 "$wineserver" -k >/dev/null 2>&1 || true
  done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap finish EXIT

# One X server for the whole stage, on a display number it picks itself,
# large enough for the window at 192 dpi, which the tests set.
start_x_server() {
  Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
  xvfb_pid=$!
  local _
  for _ in $(seq 1 100); do
    [ -s "$scratch/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; fail "Xvfb did not start"; }
    sleep 0.1
  done
  [ -s "$scratch/display" ] || fail "Xvfb named no display within 10 s"
  DISPLAY=":$(head -n 1 "$scratch/display")"
  export DISPLAY
}

# A Wine server for the prefix, persistent until the stage ends. The command
# returns once the server listens; the check after it says so plainly.
start_wine_server() {  # prefix, WINEARCH
  local prefix=$1 arch=$2 key socket
  mkdir -p "$prefix"
  # A server that finds no registry yet makes the prefix of WINEARCH; without
  # it, the 64-bit server would make a 64-bit prefix of a 32-bit one.
  WINEPREFIX=$prefix WINEARCH=$arch "$wineserver" -p || fail "the Wine server did not start for $prefix"
  servers+=("$prefix")
  # The socket's folder is named after the prefix's device and inode. Wine
  # keeps it in /tmp/.wine-UID; Debian's build in a private /tmp/wine-XXXXXX.
  key=$(printf 'server-%x-%x' "0x$(stat -c %D "$prefix")" "$(stat -c %i "$prefix")")
  for socket in "/tmp/.wine-$(id -u)/$key/socket" /tmp/wine-*/"$key/socket"; do
    [ -S "$socket" ] && return 0
  done
  fail "the Wine server for $prefix does not listen (no socket $key/socket under /tmp)"
}

# A Wine prefix of its own under the build folder, made once, with its
# server. Windows are left unmanaged: with no window manager on the X server,
# Wine would wait for one at every window that closes.
prepare_prefix() {  # loader, prefix, WINEARCH
  local loader=$1 prefix=$2 arch=$3
  if [ ! -e "$prefix/.ready" ]; then
    WINEPREFIX=$prefix timeout 30 "$wineserver" -k >/dev/null 2>&1 || true  # one left from a run cut short
    rm -rf "$prefix"
  fi
  start_wine_server "$prefix" "$arch"
  [ -e "$prefix/.ready" ] && return 0
  WINEPREFIX=$prefix WINEARCH=$arch timeout 300 "$loader" wineboot --init >"$scratch/wineboot.log" 2>&1 ||
    { tail -n 20 "$scratch/wineboot.log" >&2; fail "wineboot did not finish in $prefix"; }
  WINEPREFIX=$prefix timeout 120 "$loader" reg add 'HKCU\Software\Wine\X11 Driver' \
    /v Managed /d N /f >"$scratch/reg.log" 2>&1 || { cat "$scratch/reg.log" >&2; fail "could not set up $prefix"; }
  touch "$prefix/.ready"
}

# Runs each test program of the build, then the program itself until its
# window "Orvandel" appears, then the report sweep, compared byte for byte
# with the 64-bit Linux build's.
run_under_wine() {  # loader, prefix, build folder
  local loader=$1 prefix=$2 dir=$3 exe log
  export WINEPREFIX=$prefix
  for exe in "${tests[@]}"; do
    log="$dir/$(basename "$exe" .exe).log"
    if ! VELLAMIRE_SCREENSHOT_DIR="$dir" timeout 300 "$loader" "$dir/$exe" --gtest_brief=1 >"$log" 2>&1; then
      tail -n 60 "$log" >&2
      fail "$exe failed under $(basename "$loader")"
    fi
    echo "  $(basename "$exe"): $(grep -o 'PASSED  \] [0-9]* test' "$log" | grep -o '[0-9]*') tests passed"
  done

  "$loader" "$dir/app/vellamire.exe" >"$dir/vellamire.log" 2>&1 &
  local pid=$! shown='' status=0
  local deadline=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$deadline" ]; do
    shown=$(xwininfo -root -tree | grep '"Orvandel"' || true)
    [ -n "$shown" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
  done
  if [ -z "$shown" ]; then
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
      tail -n 20 "$dir/vellamire.log" >&2
      fail "vellamire.exe was still running after 30 s but showed no window; the lines above are the last it printed"
    fi
    wait "$pid" || status=$?
    tail -n 20 "$dir/vellamire.log" >&2
    fail "vellamire.exe ended with exit status $status before its window appeared; the lines above are the last it printed"
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "  vellamire.exe: its window \"Orvandel\" appeared, $(grep -Eo '[0-9]+x[0-9]+[+-]' <<<"$shown" | head -n 1 | tr -d '+-') pixels with its frame"

  timeout 300 "$loader" "$dir/tools/report_sweep.exe" >"$dir/sweep.txt" 2>"$dir/sweep.log" ||
    { cat "$dir/sweep.log" >&2; fail "report_sweep.exe failed under $(basename "$loader")"; }
  cmp "$linux_sweep" "$dir/sweep.txt" ||
    fail "the reports of $dir differ from the 64-bit Linux build's (cmp above)"
  echo "  report_sweep.exe: $(wc -c <"$dir/sweep.txt") bytes, identical to the 64-bit Linux build's"
}

ran=()

# --- 32-bit x86: the program that ships -----------------------------------
# Built as docs/windows.md says (cmake --workflow --preset windows).
cmake --workflow --preset windows >/dev/null
exe=build/windows/app/vellamire.exe
# file 5.44 says "PE32 executable (GUI) Intel 80386", later versions "Intel i386".
kind=$(file -b "$exe")
grep -Eq '^PE32 executable.*\(GUI\).*Intel (80386|i386)' <<<"$kind" || fail "not a 32-bit x86 GUI program: $kind"
i686-w64-mingw32-objdump -f "$exe" | grep -q 'file format pei-i386' || fail "objdump does not read a pei-i386 image"
# The system's own DLLs only: nothing of the compiler's runtime.
headers=$(i686-w64-mingw32-objdump -p "$exe")
mapfile -t imports < <(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
for dll in "${imports[@]}"; do
  case "${dll,,}" in
    kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | advapi32.dll | comctl32.dll) ;;
    *) fail "imports $dll, which Windows does not have" ;;
  esac
done
# The window asks for its DPI through GetProcAddress: imported, the function
# (Windows 10 1607 on) would keep the program from starting on earlier ones.
! grep -qw GetDpiForWindow <<<"$headers" || fail "imports GetDpiForWindow, which Windows before 10 1607 lacks"
# ASLR and NX, which the linker gives by default: the flags, and the
# relocations without which Windows cannot move the program.
for flag in DYNAMIC_BASE NX_COMPAT; do
  sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p' <<<"$headers" | grep -qw "$flag" ||
    fail "DllCharacteristics lacks $flag"
done
! grep -q 'relocations stripped' <<<"$headers" || fail "the relocations are stripped, so ASLR cannot move the program"
i686-w64-mingw32-objdump -h "$exe" | grep -qw '\.reloc' || fail "no .reloc section, so ASLR cannot move the program"
# The version record holds the project's version, 1.00 as 1.0.0.0 too.
version=$(project_version build/windows)
[[ "$version" =~ ^([0-9]+)\.([0-9]+)$ ]] || fail "the project version $version is not <major>.<minor>"
numbers="${BASH_REMATCH[1]}, $((10#${BASH_REMATCH[2]})), 0, 0"
# The copyright line of LICENSE, and the holder it names as the company.
copyright=$(grep -m 1 '^Copyright (c) ' LICENSE) || fail "LICENSE has no \"Copyright (c) ...\" line"
company=$(sed -E 's/^Copyright \(c\) [0-9][-0-9, ]* ([^ 0-9].*)$/\1/' <<<"$copyright")
resources=$(i686-w64-mingw32-windres -i "$exe" -O rc)
# windres shows the manifest's text with each quote doubled.
for want in 'VALUE "ProductName", "Vellamire"' "VALUE \"ProductVersion\", \"$version\"" \
            "VALUE \"FileVersion\", \"${numbers//, /.}\"" "FILEVERSION $numbers" 'VALUE "FileDescription"' \
            "VALUE \"CompanyName\", \"$company\"" "VALUE \"LegalCopyright\", \"$copyright\"" \
            '/* RT_MANIFEST */' '>true</dpiAware>' '>PerMonitorV2, System</dpiAwareness>' \
            'supportedOS' '/* RT_GROUP_ICON */' \
            "version=\"\"${numbers//, /.}\"\"" \
            'name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""' \
            'publicKeyToken=""6595b64144ccf1df""'; do
  grep -qF "$want" <<<"$resources" || fail "the resources lack: $want"
done
size=$(stat -c %s "$exe")
say "$exe: ${kind%%,*}, $size bytes (budget $size_budget), imports ${imports[*]}, DYNAMIC_BASE and NX_COMPAT"
[ "$size" -le "$size_budget" ] ||
  fail "$exe is $size bytes, over its budget of $size_budget bytes"
ran+=("i686 program, checked as a file ($size bytes)")

# The same program with its tests, for 32-bit Wine; built on every machine.
b32=build/windows-tests
build_preset windows-tests

# --- The reports every build must print ------------------------------------
linux_sweep="$scratch/sweep-linux-x86_64.txt"
write_linux_sweep "$linux_sweep"

start_x_server

# --- 64-bit x86: everything under 64-bit Wine ------------------------------
b64=build/windows64-tests
build_preset windows64-tests
file -b "$b64/app/vellamire.exe" | grep -q '^PE32+ executable (GUI) x86-64' || fail "the 64-bit build is not a PE32+ program"
prepare_prefix "$wine64" "$PWD/$b64/wine" win64
say "x86_64 build under 64-bit Wine"
run_under_wine "$wine64" "$PWD/$b64/wine" "$b64"
ran+=("x86_64 build under 64-bit Wine: tests, window, report sweep")

# --- 32-bit x86 under 32-bit Wine, where the kernel runs 32-bit programs ---
if runs_32bit_programs; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    [ "$(id -u)" -eq 0 ] || fail "32-bit Wine needs the i386 architecture: sudo dpkg --add-architecture i386"
    dpkg --add-architecture i386
    unset VELLAMIRE_APT_UPDATED  # the i386 package lists are fetched next
  fi
  require_packages wine32:i386
  [ -x "$wine32" ] || fail "wine32 is installed but $wine32 is missing"
  prepare_prefix "$wine32" "$PWD/$b32/wine" win32
  say "i686 build under 32-bit Wine"
  run_under_wine "$wine32" "$PWD/$b32/wine" "$b32"
  ran+=("i686 build under 32-bit Wine: tests, window, report sweep")
else
  say "this machine runs no 32-bit x86 programs, so 32-bit Wine cannot run here: the i686 build was compiled whole but its tests are skipped (expected on such machines, not a fault)"
  ran+=("i686 build under 32-bit Wine: skipped, this machine runs no 32-bit x86 programs")
fi

say "what ran:"
printf '  %s\n' "${ran[@]}"
