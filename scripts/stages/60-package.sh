# Stage: Desktop entry, metainfo and .deb package
# Checks the menu entry and the AppStream metainfo (pedantic hints count as
# failures), builds the .deb with CPack, checks what it holds and runs
# lintian on it (any error or warning fails), unpacks it into a scratch root
# and starts the unpacked program headless: it must keep running, silent,
# until stopped.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages "${BASE_PACKAGES[@]}" desktop-file-utils appstream dpkg-dev file lintian
require_commands desktop-file-validate appstreamcli cpack dpkg-deb dpkg-shlibdeps lintian file

build=build/package
app_id=io.github.vellamire.vellamire
fail() { echo "60-package: $*" >&2; exit 1; }

desktop-file-validate app/vellamire.desktop

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLAMIRE_BUILD_TESTS=OFF >/dev/null
# The metainfo as installed: made from its template and the changelog.
metainfo="$build/package-files/$app_id.metainfo.xml"
report=$(appstreamcli validate --pedantic --strict --no-net "$metainfo" 2>&1) ||
  { echo "$report" >&2; fail "appstreamcli rejects $metainfo"; }
if grep -Eq '^[EWIP]: ' <<<"$report"; then
  echo "$report" >&2
  fail "appstreamcli has remarks on $metainfo"
fi
echo "60-package: appstreamcli validate --pedantic: no remarks on $app_id"

cmake --build "$build" -j "$(jobs)" --target vellamire
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

# lintian's own note on running as root is no finding.
status=0
findings=$(lintian --fail-on error,warning "$deb" 2>&1) || status=$?
findings=$(grep -v '^running with root privileges is not recommended!$' <<<"$findings" || true)
if [ "$status" -ne 0 ] || grep -q '^[EW]: ' <<<"$findings"; then
  echo "$findings" >&2
  fail "lintian finds errors or warnings in $deb"
fi
echo "60-package: lintian: no errors or warnings"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
exe="$root/usr/bin/vellamire"
file "$exe" | grep -q 'ELF' || fail "the unpacked executable is not an ELF program"

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
echo "60-package: the unpacked program ran 3 s silently and was stopped"
