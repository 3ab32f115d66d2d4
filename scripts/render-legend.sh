#!/usr/bin/env bash
# Shows the trigger legend as a picture: the first page of printout.rtf as
# LibreOffice prints it, in a PNG file.
#
#   bash scripts/render-legend.sh [PRINTOUT.rtf [PAGE.png]]
#
# Without a printout it first writes the legend of a sample table with every
# trigger type and its pictures and rich text (build/bin/legend_sample). The
# page goes to build/legend-page1.png unless named.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

bash scripts/install-packages.sh libreoffice-writer poppler-utils

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [[ $# -ge 1 ]]; then
    printout=$(realpath "$1")
else
    [[ -f build/build.ninja ]] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build build --target legend_sample
    build/bin/legend_sample "$work/program" >/dev/null
    printout=$work/program/printout.rtf
fi
page=$(realpath -m "${2:-build/legend-page1.png}")

soffice "-env:UserInstallation=file://$work/profile" --headless --norestore \
    --convert-to pdf --outdir "$work/pdf" "$printout" >/dev/null
pdf=$work/pdf/$(basename "${printout%.*}").pdf
pdftoppm -png -r 110 -f 1 -l 1 -singlefile "$pdf" "${page%.png}"
echo "$page"
