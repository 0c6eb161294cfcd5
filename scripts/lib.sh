# shellcheck shell=bash
# Shared helpers for the build and test scripts. Sourced, not run.

# The running script's name, without its folder and without .sh. Cannot fail.
script_name() {
  local name=${0##*/}
  echo "${name%.sh}"
}

# Prints a line of the running script's, after its name. Cannot fail.
say() { echo "$(script_name): $*"; }

# Prints an error of the running script's to stderr, after its name, and
# stops the script with status 1.
fail() {
  echo "$(script_name): $*" >&2
  exit 1
}

# Installs the named Debian packages that are missing: with apt-get as root,
# otherwise names them and stops. apt's own chatter goes to a log, shown only
# when the install fails.
require_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing Debian packages: ${missing[*]}"
  local log
  log=$(mktemp)
  local apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 -q -y)
  if { [ -n "${VELLAMIRE_APT_UPDATED:-}" ] || "${apt[@]}" update; } >"$log" 2>&1 &&
     "${apt[@]}" install --no-install-recommends "${missing[@]}" >>"$log" 2>&1; then
    export VELLAMIRE_APT_UPDATED=1
    rm -f "$log"
    return 0
  fi
  tail -n 30 "$log" >&2
  rm -f "$log"
  echo "apt-get could not install: ${missing[*]}" >&2
  exit 1
}

# Stops, naming the first of the given commands that is not on the PATH, so a
# missing tool is reported as itself and not as a fault of what it examines.
require_commands() {
  local c
  for c in "$@"; do
    command -v "$c" >/dev/null 2>&1 || { echo "the command '$c' is missing" >&2; exit 1; }
  done
}

# Whether this kernel runs 32-bit x86 programs: builds the smallest one (it
# only exits) with binutils and runs it. Some kernels have the 32-bit
# emulation off and answer "Exec format error".
runs_32bit_programs() {
  local dir status
  dir=$(mktemp -d)
  cat >"$dir/exit.s" <<'ASM'
.globl _start
_start:
 movl $1, %eax
 xorl %ebx, %ebx
 int $0x80
ASM
  status=1
  if as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o"; then
    "$dir/exit" 2>/dev/null && status=0
  fi
  rm -rf "$dir"
  return $status
}

# The number of compile jobs to run at once: one per processor. Cannot fail.
build_jobs() { nproc 2>/dev/null || echo 2; }

# Configures the preset (its output discarded, its errors shown) and builds
# it; further arguments go to cmake --build. Fails when either step fails.
build_preset() {  # preset [cmake --build arguments...]
  local preset=$1
  shift
  cmake --preset "$preset" >/dev/null &&
    cmake --build --preset "$preset" -j "$(build_jobs)" "$@"
}

# Prints the project version CMake read into the cache of the build folder;
# stops the script when the cache holds none.
project_version() {  # build folder
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/CMakeCache.txt" 2>/dev/null) || true
  [ -n "$version" ] || fail "no project version in $1/CMakeCache.txt"
  echo "$version"
}

# Builds the report sweep of the 64-bit Linux build (preset engine) and writes
# its reports to the file: the bytes every other build must print. Stops the
# script when the build or the sweep fails.
write_linux_sweep() {  # output file
  build_preset engine --target report_sweep || fail "could not build the 64-bit Linux report sweep"
  build/engine/tools/report_sweep >"$1" || fail "the 64-bit Linux report sweep failed"
}

# Whether the file is a shell script: named *.sh, or starting with the #!
# line of a shell that shellcheck reads (sh, bash, dash, ksh). Cannot fail.
is_shell_script() {  # file
  local first='' shell_line='^#![[:space:]]*(/usr)?/bin/(env[[:space:]]+)?(ba|da|k)?sh([[:space:]]|$)'
  [[ "$1" == *.sh ]] && return 0
  IFS= read -r first <"$1" 2>/dev/null || true
  [[ "$first" =~ $shell_line ]]
}

# The packages every build of the program needs.
# shellcheck disable=SC2034  # used by the scripts that source this file
BASE_PACKAGES=(cmake make g++ pkg-config libgtest-dev qt6-base-dev fonts-liberation)

# The packages of the font sets the window's layout tests draw it in
# (tests/ui/CMakeLists.txt) besides Liberation: the metric twins Arimo and
# Cousine and the URW faces, and faces of other widths as desktops have them.
# shellcheck disable=SC2034  # used by the scripts that source this file
TEST_FONT_PACKAGES=(fonts-croscore fonts-urw-base35 fonts-dejavu-core fonts-noto-core
                    fonts-noto-mono fonts-cantarell fonts-freefont-ttf)
