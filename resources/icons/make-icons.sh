#!/usr/bin/env bash
# Renders the application icon (resources/scrivlo.svg) to the PNG sizes the package installs, into
# resources/icons/<size>x<size>/scrivlo.png. Run it again after changing the SVG and commit the PNGs.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert --width "$size" --height "$size" --format png --output "${size}x${size}/scrivlo.png" ../scrivlo.svg
done
