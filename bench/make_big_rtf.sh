#!/usr/bin/env bash
# Makes the large benchmark document: about 20,000 formatted paragraphs (some 2,000 pages) written
# as RTF by another word processor, with the generator kept beside the project in shared/bench.
# Then: build/bench/bench_rtf OUTDIR/big.rtf, and bench/convert_vs_soffice.sh OUTDIR/big.rtf build
# Usage: bench/make_big_rtf.sh [OUTDIR] [PARAGRAPHS]   (default: build/bigrtf, 20000)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=${1:-$here/../build/bigrtf}
exec "$here/../../shared/bench/make-big-rtf.sh" "$out" "${2:-20000}"
