#!/bin/bash
# Takes the pictures of two messages of the program, running on a virtual display (Xvfb) with
# the default font and style of a desktop without settings of its own and LibreOffice Calc as
# its spreadsheet program: docs/screenshots/incomplete-file.png (an item group whose file was
# cut short, as it opens) and import-columns-left-out.png (an import from a sheet of 36
# columns, before anything is imported).
# Usage: tools/screenshot-messages.sh [build folder]   (needs Xvfb and x11-utils)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
source "$repo/tools/virtualdisplay.sh"
run_picture_program messageshot
