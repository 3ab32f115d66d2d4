#!/usr/bin/env bash
# Installs Tavro for the current user from a build folder:
#   ~/.local/share/tavro/ (or $XDG_DATA_HOME/tavro/): the programs and the
#     help; a starter tavro.mdb and the data/ folder when there are none;
#   the desktop entry in the applications menu and the application icon;
#   the autostart entry, so that Tavro starts at login (--no-autostart leaves
#     it out and removes one that is there).
# Run again it upgrades in place: program files are replaced, the database,
# data/ and printout.rtf are never touched.
set -euo pipefail

usage() {
    echo "usage: install.sh [--no-autostart] BUILD_FOLDER" >&2
    exit 2
}

autostart=1
build=""
for argument; do
    case $argument in
    --no-autostart) autostart=0 ;;
    -*) usage ;;
    *)
        [[ -z $build ]] || usage
        build=$argument
        ;;
    esac
done
[[ -n $build ]] || usage
binaries=$build/bin
for program in tavro tavro-db tavro-rtf tavro-icon; do
    if [[ ! -x $binaries/$program ]]; then
        echo "install.sh: $binaries/$program is missing: build Tavro first" >&2
        exit 1
    fi
done

source "$(dirname "${BASH_SOURCE[0]}")/user-paths.sh"

mkdir -p "$program_folder/data"

# Each program file is replaced by a rename, so that a running Tavro keeps
# its own copy until it ends.
for program in tavro tavro-db tavro-rtf; do
    install -m 755 "$binaries/$program" "$program_folder/.$program.new"
    mv -f "$program_folder/.$program.new" "$program_folder/$program"
done
if [[ -d $binaries/help ]]; then
    rm -rf "$program_folder/.help.new"
    cp -r "$binaries/help" "$program_folder/.help.new"
    rm -rf "$program_folder/help"
    mv "$program_folder/.help.new" "$program_folder/help"
fi

if [[ ! -e $program_folder/tavro.mdb ]]; then
    "$program_folder/tavro-db" create "$program_folder/tavro.mdb" >/dev/null
fi

# The Exec value of a desktop entry: quoted when the path needs it.
exec_value() {
    local path=$1
    if [[ $path =~ ^[A-Za-z0-9/._+-]+$ ]]; then
        printf '%s' "$path"
    else
        path=${path//\\/\\\\\\\\}
        path=${path//\"/\\\\\"}
        path=${path//\`/\\\\\`}
        path=${path//\$/\\\\\$}
        path=${path//%/%%}
        printf '"%s"' "$path"
    fi
}

# Writes a desktop entry for the installed program; extra lines follow.
write_entry() {
    local file=$1
    shift
    mkdir -p "$(dirname "$file")"
    {
        echo "[Desktop Entry]"
        echo "Type=Application"
        echo "Name=Tavro"
        echo "GenericName=Text Expander"
        echo "Comment=Replaces typed triggers with text, rich text and pictures"
        echo "Exec=$(exec_value "$program_folder/tavro")"
        echo "Icon=tavro"
        echo "Terminal=false"
        echo "Categories=Utility;"
        echo "Keywords=text;expander;snippet;abbreviation;autotext;trigger;"
        printf '%s\n' "$@"
    } >"$file.new"
    mv -f "$file.new" "$file"
}

write_entry "$desktop_entry" "StartupNotify=false"
# The drawing program's own chatter is shown only when it fails.
if ! messages=$("$binaries/tavro-icon" "$(dirname "$icon_theme")" 2>&1); then
    echo "$messages" >&2
    exit 1
fi
if ((autostart)); then
    write_entry "$autostart_entry" "X-GNOME-Autostart-enabled=true"
else
    rm -f "$autostart_entry"
fi

# Menus that keep caches pick the new entry and icon up at once.
if command -v update-desktop-database >/dev/null; then
    update-desktop-database -q "$(dirname "$desktop_entry")" 2>/dev/null || true
fi
if command -v gtk-update-icon-cache >/dev/null && [[ -e $icon_theme/index.theme ]]; then
    gtk-update-icon-cache -q -t "$icon_theme" 2>/dev/null || true
fi

echo "Tavro is installed in $program_folder"
if ((autostart)); then
    echo "It starts at login ($autostart_entry)."
else
    echo "It does not start at login."
fi
