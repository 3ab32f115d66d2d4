#!/usr/bin/env bash
# The per-user install, upgrade and removal, into a temporary home.
# usage: InstallTest.sh SOURCE_FOLDER BUILD_FOLDER
set -uo pipefail

source_folder=$1
build=$2
install=$source_folder/scripts/install.sh
uninstall=$source_folder/scripts/uninstall.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
expect_file() { [[ -f $1 ]] || fail "missing file $1"; }
expect_gone() { [[ ! -e $1 ]] || fail "still there: $1"; }
quietly() { "$@" >"$scratch/output" 2>&1 || fail "$* failed: $(cat "$scratch/output")"; }
validate() { desktop-file-validate "$1" >"$scratch/validation" 2>&1 || fail "$1 invalid: $(cat "$scratch/validation")"; }

# A home of its own, with the XDG folders inside it. Installing into a home
# without them, with a blank in its path, is tested by install_e2e_tests.
export HOME=$scratch/home XDG_DATA_HOME=$scratch/home/data-home XDG_CONFIG_HOME=$scratch/home/config-home
mkdir -p "$HOME"

echo "== fresh install"
quietly bash "$install" "$build"
folder=$XDG_DATA_HOME/tavro
for file in tavro tavro-db tavro-rtf; do
    [[ -x $folder/$file ]] || fail "$folder/$file is not an installed program"
done
[[ -d $folder/data ]] || fail "no data folder"
"$folder/tavro-db" list "$folder/tavro.mdb" | grep -q ";sig" || fail "no starter database"
expect_file "$XDG_DATA_HOME/applications/tavro.desktop"
expect_file "$XDG_CONFIG_HOME/autostart/tavro.desktop"
for size in 16 48 256; do
    icon=$XDG_DATA_HOME/icons/hicolor/${size}x$size/apps/tavro.png
    [[ $(head -c 4 "$icon" 2>/dev/null | od -An -c | tr -d ' ') == '211PNG' ]] || fail "$icon is no PNG"
done
validate "$XDG_DATA_HOME/applications/tavro.desktop"
validate "$XDG_CONFIG_HOME/autostart/tavro.desktop"
grep -qx "Exec=$folder/tavro" "$XDG_CONFIG_HOME/autostart/tavro.desktop" ||
    fail "the autostart entry does not start the installed program"
grep -qx "Categories=Utility;" "$XDG_DATA_HOME/applications/tavro.desktop" ||
    fail "the menu entry is not in Utility"
if [[ -d $build/bin/help ]]; then
    diff -r "$build/bin/help" "$folder/help" >/dev/null || fail "the installed help differs from the built one"
fi

echo "== an upgrade keeps the user's triggers and content files byte for byte"
command -v sqlite3 >/dev/null || fail "sqlite3 is needed"
sqlite3 "$folder/tavro.mdb" "INSERT INTO tblTriggers (Trigger, Display, ReplaceText, Type)
    VALUES (';mine', 'Mine', 'my own text', 'Text'); INSERT INTO tblSendKeyApps VALUES ('MyTerm');"
head -c 3000 /dev/urandom >"$folder/data/logo.bmp"
printf '{\\rtf1 mine}' >"$folder/data/sig.rtf"
(cd "$folder" && sha256sum tavro.mdb data/logo.bmp data/sig.rtf) >"$scratch/before"
touch -d '2000-01-01' "$folder/tavro"
quietly bash "$install" "$build"
(cd "$folder" && sha256sum -c --quiet "$scratch/before") || fail "the upgrade changed user files"
"$folder/tavro-db" list "$folder/tavro.mdb" | grep -q ";mine" || fail "the user's trigger is gone"
[[ $folder/tavro -nt $scratch/before ]] || fail "the program was not replaced"

echo "== --no-autostart removes the autostart entry and keeps the menu entry"
quietly bash "$install" --no-autostart "$build"
expect_gone "$XDG_CONFIG_HOME/autostart/tavro.desktop"
expect_file "$XDG_DATA_HOME/applications/tavro.desktop"
quietly bash "$install" "$build"
expect_file "$XDG_CONFIG_HOME/autostart/tavro.desktop"

echo "== uninstall removes what it installed and keeps the user's files"
quietly bash "$uninstall"
for file in tavro tavro-db tavro-rtf help; do
    expect_gone "$folder/$file"
done
expect_gone "$XDG_DATA_HOME/applications/tavro.desktop"
expect_gone "$XDG_CONFIG_HOME/autostart/tavro.desktop"
[[ -z $(find "$XDG_DATA_HOME/icons" -name 'tavro*' 2>/dev/null) ]] || fail "icons are left"
(cd "$folder" && sha256sum -c --quiet "$scratch/before") || fail "uninstall changed user files"
grep -q "$folder/tavro.mdb" "$scratch/output" || fail "uninstall does not say where the triggers are"

if ((failures)); then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "all install checks passed"
