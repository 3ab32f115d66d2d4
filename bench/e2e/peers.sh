#!/usr/bin/env bash
# Measures what a person feels: the time from the last key of a trigger until
# the replacement is in the editor (mousepad on Xvfb + openbox), for the
# tavro program, for the floor (no expander: the replacement sent by the
# typing client right behind the trigger, the least any expander can get)
# and, where AutoKey is installed, for AutoKey, in the same sitting; prints
# the reports and the ratios (Tavro / floor, Tavro / AutoKey, floor / AutoKey). Also idle
# processor time and wake-ups, start-up time and memory. The harness is in
# bench/e2e/peer/ (its README says what is measured).
#
#   bash bench/e2e/peers.sh [BUILD_DIR] [bench.sh options, e.g. --runs 30 --quick]
#
# Needs a Release build (made here), xvfb openbox dbus-x11 xdotool xclip
# x11-utils mousepad python3-xlib python3-pyatspi; autokey-gtk for the peer.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$root/build-release
if [[ $# -gt 0 && $1 != --* ]]; then
    build=$1
    shift
fi
out=$(mktemp -d /tmp/tavro-peers.XXXXXX)

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target tavro tavro-db
export TAVRO_BIN=$build/bin/tavro TAVRO_DB_TOOL=$build/bin/tavro-db

harness=$root/bench/e2e/peer
bash "$harness/bench.sh" --peer "$harness/peer-tavro.sh" --out "$out/tavro" "$@" >"$out/tavro.txt" 2>&1
sed -n '/^peer=/,$p' "$out/tavro.txt"
bash "$harness/bench.sh" --peer "$harness/peer-floor.sh" --no-baseline --out "$out/floor" "$@" \
    >"$out/floor.txt" 2>&1
echo
sed -n '/^peer=/,$p' "$out/floor.txt"
echo
echo "Tavro against the floor (same sitting; ratio = Tavro / floor):"
/usr/bin/python3 "$harness/probe.py" --compare "$out/tavro/results.jsonl" "$out/floor/results.jsonl"
if command -v autokey-gtk >/dev/null; then
    bash "$harness/bench.sh" --peer "$harness/peer-autokey.sh" --out "$out/autokey" "$@" \
        >"$out/autokey.txt" 2>&1
    echo
    sed -n '/^peer=/,$p' "$out/autokey.txt"
    echo
    echo "Tavro against AutoKey (same sitting; ratio = Tavro / AutoKey):"
    /usr/bin/python3 "$harness/probe.py" --compare "$out/tavro/results.jsonl" \
        "$out/autokey/results.jsonl"
    echo
    echo "The floor against AutoKey (ratio = floor / AutoKey: the least any expander gets):"
    /usr/bin/python3 "$harness/probe.py" --compare "$out/floor/results.jsonl" \
        "$out/autokey/results.jsonl"
else
    echo "(autokey-gtk is not installed: no peer figures)"
fi
echo "results in $out"
