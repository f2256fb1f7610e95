#!/usr/bin/env bash
# The whole "--convert-to txt" run against soffice on the same file, in one sitting: wall time and
# peak memory of each (GNU time), and the ratios. Targets: under a quarter of soffice's peak
# memory, and at least 10 times faster for RTF, 20 times for Word and OpenDocument files.
# Usage: bench/convert_vs_soffice.sh FILE.rtf|FILE.docx|FILE.odt [BUILD_DIR]   (build unless told)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if [ $# -lt 1 ]; then
  echo "usage: bench/convert_vs_soffice.sh FILE.rtf|FILE.docx|FILE.odt [BUILD_DIR]" >&2
  echo "The large benchmark document (some 2,000 pages) is made by bench/make_big_rtf.sh OUTDIR" >&2
  echo "(needs libreoffice-writer-nogui) and is then OUTDIR/big.rtf; its Word and OpenDocument" >&2
  echo "versions: soffice --headless --convert-to docx (or odt) --outdir OUTDIR OUTDIR/big.rtf" >&2
  exit 2
fi
file=$(realpath "$1")
build=${2:-$here/../build}
case "$file" in
  *.rtf) target=10 ;;
  *) target=20 ;;
esac
exec "$here/against_soffice.sh" "$target" "$build" "$file" -- "$(cd "$build" && pwd)/bin/scrivlo" --convert-to txt --outdir scrivlo "$file"
