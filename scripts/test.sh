#!/usr/bin/env bash
# Installs what the build and the tests need (Debian 12), builds Tavro, and
# runs every test: a Windows cross build of the engine, the test suite, and
# the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-packages.sh build-essential cmake ninja-build pkg-config libgtest-dev \
    libgmock-dev libbenchmark-dev libsqlite3-dev g++-mingw-w64-x86-64-posix

jobs=$(nproc)

echo "== engine cross build for Windows (mingw-w64)"
cmake -S . -B build-mingw -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRO_ENGINE_ONLY=ON \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
cmake --build build-mingw -j "$jobs"
echo "engine cross build for Windows: ok"

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRO_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -L unit

