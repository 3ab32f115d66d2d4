#!/usr/bin/env bash
# Removes the Tavro of the current user: stops it, removes the programs, the
# help, the desktop entry, the icon and the autostart entry. The triggers
# (tavro.mdb), the content files (data/) and printout.rtf stay where they are.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/user-paths.sh"

stop_tavro
for file in "${program_files[@]}"; do
    rm -rf "${program_folder:?}/$file"
done
rm -f "$desktop_entry" "$autostart_entry" "$icon_theme"/*/apps/tavro.png

echo "Tavro is removed."
kept=()
for file in tavro.mdb data printout.rtf; do
    [[ -e $program_folder/$file ]] && kept+=("$program_folder/$file")
done
if ((${#kept[@]})); then
    echo "Your triggers and content files are kept:"
    printf '  %s\n' "${kept[@]}"
    echo "Install Tavro again to use them, or delete $program_folder to remove them too."
else
    rmdir "$program_folder" 2>/dev/null || true
fi
