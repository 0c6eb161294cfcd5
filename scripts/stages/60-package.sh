#!/usr/bin/env bash
# Stage: Desktop entry, metainfo and .deb package
# Checks the menu entry and the AppStream metainfo (pedantic hints count as
# failures), builds the .deb with CPack (preset package), checks what it
# holds and runs lintian on it (any remark, pedantic and informational ones
# included, fails), checks the packaged program's hardening
# (hardening-check), unpacks it into a scratch root and starts the unpacked
# program headless: it must keep running, silent, until stopped.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages "${BASE_PACKAGES[@]}" desktop-file-utils appstream dpkg-dev file lintian devscripts
require_commands desktop-file-validate appstreamcli cpack dpkg-deb dpkg-shlibdeps lintian file \
  hardening-check

build=build/package
app_id=io.github.vellamire.vellamire

desktop-file-validate app/vellamire.desktop

cmake --preset package >/dev/null
# The metainfo as installed: made from its template and the changelog.
metainfo="$build/package-files/$app_id.metainfo.xml"
report=$(appstreamcli validate --pedantic --strict --no-net "$metainfo" 2>&1) ||
  { echo "$report" >&2; fail "appstreamcli rejects $metainfo"; }
if grep -Eq '^[EWIP]: ' <<<"$report"; then
  echo "$report" >&2
  fail "appstreamcli has remarks on $metainfo"
fi
say "appstreamcli validate --pedantic: no remarks on $app_id"

cmake --build --preset package -j "$(build_jobs)"
rm -f "$build"/vellamire_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vellamire_*.deb)
echo "package: $deb ($(stat -c %s "$deb") bytes)"

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/vellamire \
            ./usr/share/applications/vellamire.desktop \
            ./usr/share/metainfo/$app_id.metainfo.xml \
            ./usr/share/man/man1/vellamire.1.gz \
            ./usr/share/doc/vellamire/changelog.gz \
            ./usr/share/doc/vellamire/copyright \
            ./usr/share/icons/hicolor/scalable/apps/vellamire.svg \
            ./usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/vellamire.png; do
  grep -q " ${path}\$" <<<"$contents" || fail "missing from the package: $path"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends does not name libqt6widgets6"
grep -q 'fonts-liberation |' <<<"$depends" || fail "Depends does not name the fonts"
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "recommends: $recommends"
grep -qw 'qt6-wayland' <<<"$recommends" || fail "Recommends does not name qt6-wayland"

# Every remark counts, pedantic and informational ones too; lintian's own note
# on running as root is no finding.
status=0
findings=$(lintian -I --pedantic --fail-on error,warning,info,pedantic "$deb" 2>&1) || status=$?
findings=$(grep -v '^running with root privileges is not recommended!$' <<<"$findings" || true)
if [ "$status" -ne 0 ] || [ -n "$findings" ]; then
  echo "$findings" >&2
  fail "lintian -I --pedantic has remarks on $deb"
fi
say "lintian -I --pedantic: no remarks"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
exe="$root/usr/bin/vellamire"
file "$exe" | grep -q 'ELF' || fail "the unpacked executable is not an ELF program"

# Position independence, the stack protector, read-only relocations and
# immediate binding show in the program, and must. Three other lines cannot
# say yes for it, whatever it is built with: fortified calls (its only copies
# are libstdc++'s, which call memcpy and memmove directly), stack-clash probes
# (no stack frame of its own is large enough to need one) and control-flow
# protection (Debian 12's C library start-up files carry no CET note, so no
# program linked there does). For those the flags are read from the commands
# that compiled every file of the program.
report=$(hardening-check --nofortify --nocfprotection "$exe" 2>&1) ||
  { echo "$report" >&2; fail "hardening-check finds the packaged program unhardened"; }
echo "$report"
while IFS= read -r command; do
  for flag in -fstack-protector-strong -D_FORTIFY_SOURCE=2 -fstack-clash-protection -fcf-protection; do
    [[ " $command " == *" $flag "* ]] || fail "compiled without $flag: $command"
  done
done < <(grep '"command":' "$build/compile_commands.json")
say "every file of the program compiled with the stack protector, fortified calls," \
    "stack-clash probes and control-flow protection"

# Started headless; a desktop session provides a private runtime folder.
mkdir -m 700 "$root/run"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$root/run" "$exe" 2>"$root/stderr" >/dev/null &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || { cat "$root/stderr" >&2; fail "the program ended by itself"; }
kill "$pid"
wait "$pid" 2>/dev/null || true
if [ -s "$root/stderr" ]; then
  cat "$root/stderr" >&2
  fail "the program wrote to stderr"
fi
say "the unpacked program ran 3 s silently and was stopped"
