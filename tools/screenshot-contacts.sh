#!/bin/bash
# Takes the picture of the contact companies window with a company open, its contacts'
# balances in column 2, and saves it as docs/screenshots/contacts.png.
# Usage: tools/screenshot-contacts.sh [build folder]
# The picture is drawn offscreen from fixed content, so running it again gives the same file.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target windowshot >/dev/null
mkdir -p "$repo/docs/screenshots"
XDG_RUNTIME_DIR="$work" "$build/tools/windowshot/windowshot" contacts "$repo/docs/screenshots/contacts.png"
echo "$repo/docs/screenshots/contacts.png"
