#!/usr/bin/env bash
# Builds the OpenDocument libFuzzer target with clang, ASan and UBSan, and fuzzes the reader and
# writer for the given time, going on after a failure (each failing input is saved in
# WORKDIR/artifacts; put it, or a smaller one that fails the same way, in fuzz/regressions-odt/ once
# fixed). Inputs that are not zip packages are read as content.xml (see OdtRoundTripCheck.h).
# Usage: fuzz/run-fuzz-odt.sh [SECONDS] [WORKDIR]   (default 1800 s; new inputs go to WORKDIR/corpus)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=${1:-1800}
work=${2:-$root/build-fuzz/work-odt}
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSCRIVLO_FUZZ=ON -DSCRIVLO_SANITIZE=ON -DSCRIVLO_TESTS=OFF -DSCRIVLO_BENCH=OFF >/dev/null
cmake --build "$root/build-fuzz" --target fuzz_odt -j2
mkdir -p "$work/corpus" "$work/artifacts"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
"$root/build-fuzz/fuzz/fuzz_odt" "$work/corpus" "$here/seeds-odt" "$root/../shared/doc-corpus/odt" \
  -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -dict="$here/odt.dict" \
  -max_total_time="$seconds" -max_len=131072 -timeout=20 -rss_limit_mb=4096 \
  -artifact_prefix="$work/artifacts/" -print_final_stats=1
