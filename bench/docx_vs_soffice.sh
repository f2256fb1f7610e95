#!/usr/bin/env bash
# Reading a Word file to plain text against soffice's "--convert-to txt" of the same file, in one
# sitting: wall time and peak memory of each (GNU time), and the ratios. Targets: at least 20
# times faster, and no more than a quarter of soffice's peak memory.
# Usage: bench/docx_vs_soffice.sh FILE.docx [BUILD_DIR]   (build unless told)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -lt 1 ]; then
  echo "usage: bench/docx_vs_soffice.sh FILE.docx [BUILD_DIR]" >&2
  echo "The Word version of the benchmark document: soffice --headless --convert-to docx OUTDIR/big.rtf" >&2
  exit 2
fi
file=$(realpath "$1")
build=${2:-$here/../build}
exec "$here/against_soffice.sh" 20 "$build" "$file" -- "$(cd "$build" && pwd)/bench/bench_docx" --to-text "$file" ours.txt
