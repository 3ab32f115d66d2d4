#!/usr/bin/env bash
# Renders the tavro program's windows to PNG files: the splash window, the
# tray menu, the main window with each of its pages (the rich-text and image
# pages with their files, and the image page after Edit Image and New Image),
# the save dialog, and the About window.
# Tavro runs with sample triggers of every type on a desktop of its own
# (Xvfb, openbox, trayer for the notification area) and is driven with
# xdotool as a person would drive it; imagemagick takes the pictures.
#
#   bash scripts/render-window.sh [BUILD_FOLDER] [OUTPUT_FOLDER]
#
# BUILD_FOLDER defaults to build, OUTPUT_FOLDER to BUILD_FOLDER/window-pictures.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$build/window-pictures}
mkdir -p "$out"
out=$(cd "$out" && pwd)

bash "$root/scripts/install-packages.sh" xvfb openbox dbus-x11 trayer xdotool x11-utils \
    imagemagick sqlite3

work=$(mktemp -d /tmp/tavro-render-XXXXXX)
pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

wait_for() {  # wait_for DESCRIPTION COMMAND...: polls for up to 10 s
    local what=$1
    shift
    for _ in $(seq 100); do
        if "$@" >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    echo "render-window: $what did not happen" >&2
    exit 1
}

# The program folder, with the starter triggers and one of each other type.
program=$work/tavro
mkdir -p "$program/data"
cp "$build/bin/tavro" "$program/"
"$build/bin/tavro-db" create "$program/tavro.mdb" >/dev/null
cat >"$program/data/letter.rtf" <<'RTF'
{\rtf1\ansi{\fonttbl{\f0 DejaVu Sans;}}{\colortbl;\red46\green109\blue180;}\f0\fs22
Dear {\b Ms Smith},\par\par
thank you for your letter of {\cf1 12 May}. Everything is {\i ready}.\par\par
Kind regards\par}
RTF
convert -size 220x70 xc:'#2E6DB4' -fill white -font DejaVu-Sans-Bold -pointsize 30 \
    -gravity center -annotate 0 'ACME Ltd' "$program/data/logo.png"
sqlite3 "$program/tavro.mdb" <<SQL
INSERT INTO tblTriggers VALUES (';letter', 'Letter opening', 'Dear Ms Smith,', '$program/data/letter.rtf', '', '', 'RTF');
INSERT INTO tblTriggers VALUES (';logo', 'Company logo', '[ACME Ltd]', '', '$program/data/logo.png', '', 'Image');
SQL

# The desktop.
exec 3>"$work/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x800x24 >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
wait_for "Xvfb" test -s "$work/display"
export DISPLAY=":$(head -1 "$work/display")"
export XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime NO_AT_BRIDGE=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
eval "$(dbus-launch --sh-syntax)"
pids+=("$DBUS_SESSION_BUS_PID")
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
wait_for "openbox" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
trayer --edge top --align right --widthtype request --height 24 --SetDockType true \
    --transparent false >"$work/trayer.log" 2>&1 &
pids+=($!)
wait_for "trayer" sh -c 'xdotool search --class trayer'

# Files are "opened" by an opener that only notes them.
mkdir -p "$work/bin"
printf '#!/bin/sh\necho "$1" >>"%s/opened.txt"\n' "$work" >"$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
PATH="$work/bin:$PATH" "$program/tavro" >"$work/tavro.log" 2>&1 &
tavro=$!
pids+=("$tavro")
wait_for "Tavro's start" grep -q "Tavro is running" "$work/tavro.log"

window_named() {  # the first window of Tavro's with exactly this name
    xdotool search --all --pid "$tavro" --name "^$1\$" | head -1
}
picture() {  # picture NAME WINDOW: the window with its frame
    sleep 0.4
    import -frame -window "$2" "$out/$1.png"
    echo "$out/$1.png"
}
keys() { xdotool key --delay 120 "$@"; }

tray_icon() {
    for window in $(xdotool search --onlyvisible --class tavro); do
        if [[ $(xdotool getwindowname "$window") == Tavro ]]; then
            echo "$window"
            return
        fi
    done
}

wait_for "the splash window" window_named "About Tavro!"
picture splash "$(window_named 'About Tavro!')"
wait_for "the tray icon" test -n "$(tray_icon)"
# The splash closes itself after five seconds.
sleep 5.5

eval "$(xdotool getwindowgeometry --shell "$(tray_icon)")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 3
sleep 0.8
import -window root -crop 420x260+860+0 "$out/tray-menu.png"
echo "$out/tray-menu.png"
keys Up Return
main=$(window_named 'Tavro!')
wait_for "the main window" sh -c "xwininfo -id $main | grep -q IsViewable"

# The list, sorted: ;data ;date ;letter ;logo ;sig ;tavro ;time
keys Home Down Down Down Down
picture main-text "$main"
keys Home Down Down
picture main-rtf "$main"
keys Down
picture main-image "$main"
# From the list: the three header fields, the path box, "...", New Image,
# Edit Image. Edit shows Refresh; New Image asks for a name, saves the
# sample picture under it and shows it.
keys Tab Tab Tab Tab Tab Tab Tab space
picture main-image-edited "$main"
keys shift+Tab space
wait_for "the save dialog" test -n "$(window_named 'Save As')"
picture save-dialog "$(window_named 'Save As')"
xdotool type --delay 80 "sample"
keys Return
wait_for "the new picture" test -f "$program/data/sample.bmp"
picture main-image-new "$main"
# Back to the list.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 60)) $((Y + HEIGHT - 60)) click 1
keys Home
picture main-launch "$main"
# Typed with the list focused, the keys are recorded and open the key view.
xdotool type --delay 80 "tavrobuff"
picture main-key-view "$main"
keys alt+o s
picture main-application-lists "$main"
keys ctrl+n
picture main-new-trigger "$main"
keys alt+h a
wait_for "the About window" sh -c "xwininfo -id $(window_named 'About Tavro!') | grep -q IsViewable"
picture about "$(window_named 'About Tavro!')"
