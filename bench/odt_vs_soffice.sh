#!/usr/bin/env bash
# Reading an OpenDocument text file to plain text (bench_odt --text) against soffice's
# "--convert-to txt" of the same file, in one sitting: wall time and peak memory of each whole
# process (GNU time), and the ratios. Targets: at least 20 times faster, at most a quarter of
# soffice's peak memory.
# Usage: bench/odt_vs_soffice.sh FILE.odt [BUILD_DIR]   (build bench_odt first)
# The large document: soffice --headless --convert-to odt --outdir DIR DIR/big.rtf (see make_big_rtf.sh).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -lt 1 ]; then
  echo "usage: bench/odt_vs_soffice.sh FILE.odt [BUILD_DIR]" >&2
  exit 2
fi
file=$(realpath "$1")
build=${2:-$here/../build}
exec "$here/against_soffice.sh" 20 "$build" "$file" -- "$(cd "$build" && pwd)/bench/bench_odt" --text "$file"
