#!/bin/sh
# Installs what is missing, builds and starts Quillora.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target quillora
exec ./build/src/quillora
