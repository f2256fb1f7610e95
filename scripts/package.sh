#!/usr/bin/env bash
# Builds Scrivlo (Release, installed under /usr) and makes the Debian package
# build/scrivlo_<version>_<arch>.deb with CPack. The package is built in build-deb/, which holds the
# program alone (no tests, no benchmarks), so packaging does not build them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --package
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DSCRIVLO_TESTS=OFF -DSCRIVLO_BENCH=OFF >/dev/null
cmake --build build-deb -j2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-deb/CMakeCache.txt)
deb="build/scrivlo_${version}_$(dpkg --print-architecture).deb"
mkdir -p build
rm -f "$deb"
(cd build-deb && cpack -G DEB -B "$PWD/../build" >/dev/null)
rm -rf build/_CPack_Packages
[[ -f "$deb" ]] || { echo "package.sh: CPack did not make $deb" >&2; exit 1; }
echo "$deb"
