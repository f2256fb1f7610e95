#!/usr/bin/env bash
# Builds Scrivlo (Release) and starts it; arguments go to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && " $* " != *" --convert-to "* ]]; then
  echo "Scrivlo is built (build/bin/scrivlo) but cannot start: there is no graphical display" >&2
  echo "(neither DISPLAY nor WAYLAND_DISPLAY is set). Run it from a desktop session, or under xvfb-run." >&2
  exit 1
fi
exec build/bin/scrivlo "$@"
