# Peer adapter: the floor. No expander runs; the typing client (floor.py)
# writes the replacement right behind the trigger's last key, in the same
# write of XTEST requests: what any expander would achieve if it needed no
# time at all to see the trigger and to send its keys. Sourced by bench.sh.
# shellcheck shell=bash disable=SC2034
# Modes: "kb" = Backspaces and the text typed as keys;
#        "clip" = the text put on the CLIPBOARD (xclip) before the trigger is
#        typed, then Backspaces and Ctrl+V.
# PEER_TYPES_TRIGGER tells bench.sh to type triggers through peer_type_trigger
# and to skip start-up, memory and idle figures (there is no program).

PEER_NAME=floor
PEER_MODES_DEFAULT="kb clip"
PEER_TYPES_TRIGGER=1
FLOOR_MODE=

peer_describe_mode() {
    case $1 in
        kb)   echo 'no expander: the typing client types the replacement right behind the trigger' ;;
        clip) echo 'no expander: the typing client sends Backspaces and Ctrl+V right behind the trigger (text on the CLIPBOARD before)' ;;
        *)    echo "unknown" ;;
    esac
}

peer_check() { command -v xclip >/dev/null; }
peer_configure() { FLOOR_MODE=$1; }
peer_start() { PEER_PID=; }
peer_stop() { PEER_PID=; }
peer_pids() { :; }

peer_type_trigger() { # trigger text
    if [[ $FLOOR_MODE == clip ]]; then
        printf '%s' "$2" | xclip -selection clipboard
        until [[ $(xclip -o -selection clipboard 2>/dev/null) == "$2" ]]; do sleep 0.01; done
    fi
    /usr/bin/python3 "$HERE/floor.py" "$FLOOR_MODE" "$TYPE_DELAY_MS" "$1" "$2"
}
