#!/usr/bin/env bash
# Installs what the build and the tests need (Debian 12), builds Tavro, and
# runs every test: a Windows cross build of the engine, the test suite, and
# the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-packages.sh build-essential cmake ninja-build pkg-config libgtest-dev \
    libgmock-dev libbenchmark-dev libsqlite3-dev g++-mingw-w64-x86-64-posix \
    qt6-base-dev libreoffice-writer poppler-utils clang libclang-rt-14-dev \
    libx11-dev libxtst-dev libxkbcommon-dev xvfb openbox dbus-x11 xdotool xclip x11-utils \
    x11-xkb-utils mousepad featherpad

jobs=$(nproc)

echo "== engine cross build for Windows (mingw-w64)"
cmake -S . -B build-mingw -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRO_ENGINE_ONLY=ON \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake"
cmake --build build-mingw -j "$jobs"
echo "engine cross build for Windows: ok"

echo "== RTF reader fuzz target (clang, libFuzzer): build it and replay its corpus"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DTAVRO_SANITIZE=ON -DTAVRO_FUZZ=ON
cmake --build build-fuzz -j "$jobs" --target rtf_reader_fuzzer
build-fuzz/bin/rtf_reader_fuzzer -runs=0 tests/richtext/corpus

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVRO_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -L unit

