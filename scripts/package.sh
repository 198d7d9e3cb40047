#!/bin/sh
# Builds build/quillora_VERSION_amd64.deb from the build (made first when missing), with the
# dependencies dpkg-shlibdeps finds in the binaries and the fonts of the library.
set -eu
cd "$(dirname "$0")/.."
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build -j"$(nproc)"
cd build
cpack -G DEB
