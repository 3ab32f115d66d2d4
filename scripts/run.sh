#!/usr/bin/env bash
# Installs what the build needs (Debian 12), builds Tavro and starts it in the
# X session of this terminal. The build places a starter trigger database
# (build/bin/tavro.mdb) beside the program when there is none; so does this
# script, should a build have left it out.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-packages.sh build-essential cmake ninja-build pkg-config libgtest-dev \
    libgmock-dev libbenchmark-dev libsqlite3-dev qt6-base-dev libx11-dev libxtst-dev \
    libxkbcommon-dev xdg-utils

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
[[ -f build/bin/tavro.mdb ]] || build/bin/tavro-db create build/bin/tavro.mdb

exec build/bin/tavro
