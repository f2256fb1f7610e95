#!/usr/bin/env bash
# Builds the Word libFuzzer target with clang, ASan and UBSan, and fuzzes the Word reader and
# writer for the given time, going on after a failure (each failing input is saved in
# WORKDIR/artifacts; once fixed, it goes into fuzz/regressions-docx/).
# Usage: fuzz/run-fuzz-docx.sh [SECONDS] [WORKDIR]   (default 1800 s; new inputs go to WORKDIR/corpus)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=${1:-1800}
work=${2:-$root/build-fuzz/work-docx}
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSCRIVLO_FUZZ=ON -DSCRIVLO_SANITIZE=ON -DSCRIVLO_TESTS=OFF -DSCRIVLO_BENCH=OFF >/dev/null
cmake --build "$root/build-fuzz" --target fuzz_docx -j2
mkdir -p "$work/corpus" "$work/artifacts"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$root/build-fuzz/fuzz/fuzz_docx" "$work/corpus" "$here/seeds-docx" "$root/../shared/doc-corpus/docx" \
  -dict="$here/docx.dict" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
  -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=4096 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1
