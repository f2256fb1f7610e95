#!/usr/bin/env bash
# Measures a Scrivlo command against soffice's "--convert-to txt" of the same file, in one sitting:
# wall time, processor time and peak memory of each (GNU time), and the ratios.
# bench/convert_vs_soffice.sh calls it.
# Usage: bench/against_soffice.sh SPEED_TARGET BUILD_DIR FILE -- COMMAND...
set -eu
target=$1 build=$(cd "$2" && pwd) file=$3 # soffice needs an absolute profile path
shift 4
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen

measure() { # label, command...
  local label=$1; shift
  /usr/bin/time -v "$@" >/dev/null 2>"$out/$label.time"
  local wall rss cpu
  wall=$(awk -F': ' '/Elapsed \(wall clock\)/ {print $2}' "$out/$label.time" \
         | awk -F: '{ if (NF == 3) print $1*3600 + $2*60 + $3; else print $1*60 + $2 }')
  rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$out/$label.time")
  cpu=$(awk -F': ' '/(User|System) time \(seconds\)/ {s += $2} END {print s}' "$out/$label.time")
  echo "$label $wall $rss $cpu"
}

# soffice keeps a profile; make it once, outside the measurement, as a user's would be. Our command
# runs once before it is measured too.
profile="$build/soffice-profile"
printf '{\\rtf1 warm-up}' > "$out/warm.rtf"
soffice -env:UserInstallation="file://$profile" --headless --convert-to txt --outdir "$out" "$out/warm.rtf" >/dev/null 2>&1
(cd "$out" && "$@" >/dev/null 2>&1)

read -r _ ours_s ours_kb ours_cpu < <(cd "$out" && measure scrivlo "$@")
read -r _ lo_s lo_kb lo_cpu < <(measure soffice soffice -env:UserInstallation="file://$profile" --headless \
                                  --convert-to txt --outdir "$out/soffice" "$file")
printf 'scrivlo: %6.2f s  %7.1f MiB  (%.2f s processor)\n' "$ours_s" "$(echo "$ours_kb / 1024" | bc -l)" "$ours_cpu"
printf 'soffice: %6.2f s  %7.1f MiB  (%.2f s processor)\n' "$lo_s" "$(echo "$lo_kb / 1024" | bc -l)" "$lo_cpu"
printf 'speed-up %.1fx (target >= %s), memory %.1f%% of soffice (target <= 25%%)\n' \
  "$(echo "$lo_s / $ours_s" | bc -l)" "$target" "$(echo "100 * $ours_kb / $lo_kb" | bc -l)"
