# Shared helpers for the build and test scripts. Sourced, not run.

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
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/exit.s"
  status=1
  if as --32 -o "$dir/exit.o" "$dir/exit.s" && ld -m elf_i386 -o "$dir/exit" "$dir/exit.o"; then
    "$dir/exit" 2>/dev/null && status=0
  fi
  rm -rf "$dir"
  return $status
}

# The packages every build of the program needs.
BASE_PACKAGES=(cmake make g++ pkg-config libgtest-dev qt6-base-dev fonts-liberation)

# The packages of the font sets the window's layout tests draw it in
# (tests/ui/CMakeLists.txt) besides Liberation: the metric twins Arimo and
# Cousine and the URW faces, and faces of other widths as desktops have them.
TEST_FONT_PACKAGES=(fonts-croscore fonts-urw-base35 fonts-dejavu-core fonts-noto-core
                    fonts-noto-mono fonts-cantarell fonts-freefont-ttf)

jobs() { nproc 2>/dev/null || echo 2; }
