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
file=$1
build=$(cd "${2:-$here/../build}" && pwd) # soffice needs an absolute profile path
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

measure() { # label, command...
  local label=$1; shift
  /usr/bin/time -v "$@" >/dev/null 2>"$out/$label.time"
  local wall rss
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$out/$label.time" \
         | awk -F: '{ if (NF == 3) print $1*3600 + $2*60 + $3; else print $1*60 + $2 }')
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$out/$label.time")
  echo "$label $wall $rss"
}

# soffice keeps a profile; make it once, outside the measurement, as a user's would be.
profile="$build/soffice-profile"
printf '{\\rtf1 warm-up}' > "$out/warm.rtf"
soffice -env:UserInstallation="file://$profile" --headless --convert-to txt --outdir "$out" "$out/warm.rtf" >/dev/null 2>&1

read -r _ ours_s ours_kb < <(measure scrivlo "$build/bench/bench_docx" --to-text "$file" "$out/ours.txt")
read -r _ lo_s lo_kb < <(measure soffice soffice -env:UserInstallation="file://$profile" --headless \
                          --convert-to txt --outdir "$out/soffice" "$file")
printf 'scrivlo: %6.2f s  %7.1f MiB\n' "$ours_s" "$(echo "$ours_kb / 1024" | bc -l)"
printf 'soffice: %6.2f s  %7.1f MiB\n' "$lo_s" "$(echo "$lo_kb / 1024" | bc -l)"
printf 'speed-up %.1fx (target >= 20), memory %.1f%% of soffice (target <= 25%%)\n' \
  "$(echo "$lo_s / $ours_s" | bc -l)" "$(echo "100 * $ours_kb / $lo_kb" | bc -l)"
