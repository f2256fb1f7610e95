#!/usr/bin/env bash
# Builds Scrivlo with its tests and runs every test through CTest, headless: first the normal build,
# then a build with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer, where any
# sanitizer report fails the run and the random-use soak test takes its full length.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
export QT_QPA_PLATFORM=offscreen

echo "== Normal build =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2

echo "== Sanitizer build =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
      -DSCRIVLO_SANITIZE=ON -DSCRIVLO_BENCH=OFF >/dev/null
cmake --build build-asan -j2
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:halt_on_error=1:detect_stack_use_after_return=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export SCRIVLO_SOAK_STEPS=20000
# A busy machine must not turn the long soak into a timeout (Qt Test stops a function after 5 min).
export QTEST_FUNCTION_TIMEOUT=1200000
# The interop tests run here too: their documents (reports with every feature, whole corpora
# saved and read again) go through the readers and writers under the sanitizers.
ctest --test-dir build-asan --output-on-failure -j2 --timeout 1500
