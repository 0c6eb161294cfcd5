# Shared helpers for the build and test scripts. Sourced, not run.

# Installs the named Debian packages that are missing: with apt-get as root,
# otherwise names them and stops.
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
  echo "Installing ${missing[*]}"
  if [ -z "${VELLAMIRE_APT_UPDATED:-}" ]; then
    DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 update -qq
    export VELLAMIRE_APT_UPDATED=1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# The packages every build of the program needs.
BASE_PACKAGES=(cmake make g++ pkg-config libgtest-dev qt6-base-dev fonts-liberation)

jobs() { nproc 2>/dev/null || echo 2; }
