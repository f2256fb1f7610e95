#!/usr/bin/env bash
# Takes hostile RTF inputs across the formats with the sanitizer build of the program: each input
# converted to Word and to OpenDocument, and each of those again to RTF, Word and OpenDocument.
# The fuzzers take each format round itself; this is where text kept from one format meets the
# writer of another. Reports sanitizer findings and refusals other than binary data.
# Usage: fuzz/convert-across.sh INPUT_DIR... (e.g. the RTF fuzzer's corpus, fuzz/regressions)
#        after scripts/test.sh has built build-asan.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
program=$root/build-asan/bin/scrivlo
[ -x "$program" ] || { echo "build the sanitizer build first (scripts/test.sh)" >&2; exit 2; }
[ $# -ge 1 ] || { echo "usage: fuzz/convert-across.sh INPUT_DIR..." >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
mkdir -p "$work/in"
n=0
for dir in "$@"; do
  for f in "$dir"/*; do
    [ -f "$f" ] && cp "$f" "$work/in/$((n++))-$(basename "$f")"
  done
done
convert() { # format, output folder, inputs...
  local to=$1 out=$2; shift 2
  mkdir -p "$out"
  # In groups, so that one failing process does not hide the rest.
  printf '%s\n' "$@" | xargs -r -n 200 "$program" --convert-to "$to" --outdir "$out" >/dev/null 2>>"$work/errors"
}
convert docx "$work/docx" "$work"/in/*
convert odt "$work/odt" "$work"/in/*
for from in docx odt; do
  for to in rtf docx odt; do
    convert "$to" "$work/$from-$to" "$work/$from"/*."$from"
  done
done
echo "$n inputs: $(ls "$work/docx" | wc -l) written as Word, $(ls "$work/odt" | wc -l) as OpenDocument"
grep -h "cannot convert" "$work/errors" | grep -v "binary data" | sort | uniq -c
if grep -q "Sanitizer\|runtime error" "$work/errors"; then
  grep -h -A30 "ERROR: \|runtime error" "$work/errors" | head -80
  exit 1
fi
echo "no sanitizer report"
