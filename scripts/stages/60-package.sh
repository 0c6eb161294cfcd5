# Stage: Desktop entry, metainfo and .deb package
# Checks the menu entry and the AppStream metainfo, builds the .deb with
# CPack, checks what it holds, unpacks it into a scratch root and starts the
# unpacked program headless: it must keep running, silent, until stopped.
set -euo pipefail
cd "$(dirname "$0")/../.."
. scripts/lib.sh
require_packages "${BASE_PACKAGES[@]}" desktop-file-utils appstream dpkg-dev file

build=build/package
fail() { echo "60-package: $*" >&2; exit 1; }

desktop-file-validate app/vellamire.desktop
appstreamcli validate --no-net app/io.github.vellamire.Vellamire.metainfo.xml

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVELLAMIRE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j "$(jobs)" --target vellamire
rm -f "$build"/vellamire_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vellamire_*.deb)
echo "package: $deb"

contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/vellamire \
            ./usr/share/applications/vellamire.desktop \
            ./usr/share/metainfo/io.github.vellamire.Vellamire.metainfo.xml \
            ./usr/share/icons/hicolor/scalable/apps/vellamire.svg \
            ./usr/share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/vellamire.png; do
  grep -q " ${path}\$" <<<"$contents" || fail "missing from the package: $path"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends does not name libqt6widgets6"

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
