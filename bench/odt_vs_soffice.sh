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
file=$1
build=$(cd "${2:-$here/../build}" && pwd) # soffice needs an absolute profile path
bench="$build/bench/bench_odt"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen

measure() { # label, command...
  local label=$1; shift
  /usr/bin/time -v "$@" >/dev/null 2>"$out/$label.time"
  local wall rss
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$out/$label.time" \
         | awk -F: '{ if (NF == 3) print $1*3600 + $2*60 + $3; else print $1*60 + $2 }')
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$out/$label.time")
  cpu=$(awk -F': ' '/(User|System) time \(seconds\)/ {s += $2} END {print s}' "$out/$label.time")
  echo "$label $wall $rss $cpu"
}

# soffice keeps a profile; make it once, outside the measurement, as a user's would be.
profile="$build/soffice-profile"
printf '{\\rtf1 warm-up}' > "$out/warm.rtf"
soffice -env:UserInstallation="file://$profile" --headless --convert-to txt --outdir "$out" "$out/warm.rtf" >/dev/null 2>&1
"$bench" --text "$file" >/dev/null

read -r _ ours_s ours_kb ours_cpu < <(measure scrivlo "$bench" --text "$file")
read -r _ lo_s lo_kb lo_cpu < <(measure soffice soffice -env:UserInstallation="file://$profile" --headless \
                          --convert-to txt --outdir "$out/soffice" "$file")
printf 'scrivlo: %6.2f s  %7.1f MiB  (%.2f s processor)\n' "$ours_s" "$(echo "$ours_kb / 1024" | bc -l)" "$ours_cpu"
printf 'soffice: %6.2f s  %7.1f MiB  (%.2f s processor)\n' "$lo_s" "$(echo "$lo_kb / 1024" | bc -l)" "$lo_cpu"
printf 'speed-up %.1fx (target >= 20), memory %.1f%% of soffice (target <= 25%%)\n' \
  "$(echo "$lo_s / $ours_s" | bc -l)" "$(echo "100 * $ours_kb / $lo_kb" | bc -l)"
