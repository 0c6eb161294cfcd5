# shellcheck shell=bash
# Shared helpers for the scripts. Sourced, not run.

# Builds and tests on every processor, unless told otherwise.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}

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

# Prints the packages that the lines of the parts name in the manifest, one a
# line; a conditional one only where the answer (yes or no: whether this
# machine runs 32-bit x86 programs) says so. Cannot fail.
manifest_packages() {  # manifest, 32-bit answer, part...
  local manifest=$1 runs32=$2 part words word
  shift 2
  for part in "$@"; do
    while read -r -a words; do
      for word in "${words[@]}"; do
        case "$word" in
          32bit:*) [ "$runs32" != yes ] || echo "${word#32bit:}" ;;
          no32bit:*) [ "$runs32" != no ] || echo "${word#no32bit:}" ;;
          *) echo "$word" ;;
        esac
      done
    done < <(sed -n "s/^${part}://p" "$manifest")
  done
}

# Installs the packages of the parts of packages.txt that are missing: with
# apt-get as root (adding the i386 architecture for an :i386 package),
# otherwise names them and stops. Those without a condition come first, as
# the 32-bit question is asked of CMake. apt's output goes to a log, shown
# only when the install fails.
install_packages() {  # part...
  local packages runs32 dir
  mapfile -t packages < <(manifest_packages packages.txt unknown "$@" | sort -u)
  install_missing "${packages[@]}"
  dir=$(mktemp -d)
  runs32=$(cmake -DFOLDER="$dir" -P cmake/Runs32BitPrograms.cmake)
  rm -rf "$dir"
  mapfile -t packages < <(manifest_packages packages.txt "$runs32" "$@" | sort -u)
  install_missing "${packages[@]}"
}

# Installs the named packages that are missing; see install_packages.
install_missing() {  # package...
  local missing=() p log
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing Debian packages: ${missing[*]}"
  if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    unset VELLAMIRE_APT_UPDATED  # the i386 package lists are fetched next
  fi
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

# Whether the file is a shell script: named *.sh, or starting with the #!
# line of a shell that shellcheck reads (sh, bash, dash, ksh). Cannot fail.
is_shell_script() {  # file
  local first='' shell_line='^#![[:space:]]*(/usr)?/bin/(env[[:space:]]+)?(ba|da|k)?sh([[:space:]]|$)'
  [[ "$1" == *.sh ]] && return 0
  IFS= read -r first <"$1" 2>/dev/null || true
  [[ "$first" =~ $shell_line ]]
}
