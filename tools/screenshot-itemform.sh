#!/bin/bash
# Takes the picture of a filled item form, as the item groups window's "Selected Item into
# Excel Form" fills it in the spreadsheet program, and saves it as
# docs/screenshots/itemform.png. Usage: tools/screenshot-itemform.sh [build folder]
# The form is filled through the form service on the real office for a fixed sample item and
# stored as PDF; its first page becomes the picture, trimmed to the form with a white margin
# and cut a few empty rows below the filled ones (the form has room for every column of an
# item group, down the rest of the page). Running it again gives the same file.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target formshot >/dev/null
XDG_RUNTIME_DIR="$work" "$build/tools/formshot/formshot" "$work/itemform.pdf"
pdftoppm -png -r 110 -f 1 -l 1 -singlefile "$work/itemform.pdf" "$work/page"
mkdir -p "$repo/docs/screenshots"
# /usr/bin/convert by its path: another convert may come earlier on PATH.
/usr/bin/convert "$work/page.png" -trim +repage -crop 0x570+0+0 +repage -bordercolor white -border 30 -strip \
    "$repo/docs/screenshots/itemform.png"
echo "$repo/docs/screenshots/itemform.png"
