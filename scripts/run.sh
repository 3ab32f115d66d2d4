#!/usr/bin/env bash
# Installs what the build needs (Debian 12), builds Tavro and runs it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-packages.sh build-essential cmake ninja-build pkg-config libgtest-dev \
    libgmock-dev libbenchmark-dev libsqlite3-dev

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"

# The engine runs on a recording platform so far; until the desktop program
# exists, running Tavro means measuring its key path.
exec build/bin/capture_bench
