#!/usr/bin/env bash
# Builds and runs the end-to-end benchmark of the tavro program: firing
# latency, memory and idle processor time. It starts its own desktop as the
# tests do, so it needs what scripts/test.sh installs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build-rel}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)" --target tavro_bench tavro
exec "$build/bin/tavro_bench"
