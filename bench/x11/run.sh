#!/usr/bin/env bash
# Builds and runs the X11 end-to-end benchmark (capture latency, typing rate).
# The program starts its own desktop exactly as the x11 tests do (Xvfb,
# D-Bus, openbox, mousepad), so it needs what scripts/test.sh installs.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build-rel}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j "$(nproc)" --target x11_bench
exec "$build/bin/x11_bench"
