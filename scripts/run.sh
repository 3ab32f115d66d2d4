#!/usr/bin/env bash
# Installs what the build needs (Debian 12), builds Tavro, installs it for the
# current user (~/.local/share/tavro, the applications menu, the icon, and
# the start at login unless --no-autostart is given) and starts it in the X
# session of this terminal. Run again after an update, it upgrades in place:
# the triggers and content files are kept.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

install_options=()
for argument; do
    case $argument in
    --no-autostart) install_options+=(--no-autostart) ;;
    *)
        echo "usage: run.sh [--no-autostart]" >&2
        exit 2
        ;;
    esac
done

bash scripts/install-packages.sh build-essential cmake ninja-build pkg-config libsqlite3-dev \
    qt6-base-dev libx11-dev libxtst-dev libxkbcommon-dev xdg-utils

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVRO_TESTS=OFF
cmake --build build-release -j "$(nproc)"

source scripts/user-paths.sh
installed=$program_folder/tavro
before=""
[[ -e $installed ]] && before=$(cksum <"$installed")
bash scripts/install.sh "${install_options[@]}" build-release
# A Tavro still running the replaced program ends (saving its pending
# edits), so that the new one starts.
if [[ -n $(tavro_pids) && $(cksum <"$installed") != "$before" ]]; then
    echo "Restarting Tavro with the new version."
    stop_tavro
fi

if [[ -z ${DISPLAY:-} ]]; then
    echo "No X display here: Tavro starts at the next login, or from the applications menu."
    exit 0
fi
if [[ -n $(tavro_pids) ]]; then
    # The running Tavro shows its window.
    exec "$installed"
fi
output=$(mktemp)
trap 'rm -f "$output"' EXIT
setsid "$installed" >"$output" 2>&1 </dev/null &
for ((waited = 0; waited < 100; waited++)); do
    if grep -q "Tavro is running." "$output"; then
        echo "Tavro is running: its icon is in the notification area."
        exit 0
    fi
    if ! kill -0 $! 2>/dev/null; then
        cat "$output" >&2
        exit 1
    fi
    sleep 0.1
done
echo "Tavro started, but has not said it is running yet:" >&2
cat "$output" >&2
