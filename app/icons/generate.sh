#!/usr/bin/env bash
# Renders the program's icon from vellamire.svg: the PNG sizes a desktop menu
# asks for (hicolor theme) and vellamire.ico for the Windows program. Run it
# after changing the SVG and commit what it writes. Needs librsvg2-bin
# (rsvg-convert) and icoutils (icotool).
set -euo pipefail
cd "$(dirname "$0")"
sizes=(16 22 24 32 48 64 128 256)
for s in "${sizes[@]}"; do
  rsvg-convert --width "$s" --height "$s" --format png --output "vellamire-${s}.png" vellamire.svg
done
# The Windows icon carries the sizes Explorer and the taskbar use. 48 pixels
# and up are stored as PNG (Windows Vista and later read them), about a
# quarter of the bitmaps' size; the small ones stay bitmaps.
icotool --create --output vellamire.ico \
  vellamire-16.png vellamire-24.png vellamire-32.png \
  --raw=vellamire-48.png --raw=vellamire-64.png --raw=vellamire-256.png
