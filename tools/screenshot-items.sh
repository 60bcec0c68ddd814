#!/bin/bash
# Takes the pictures of the item groups window with an item group open, and in use with its
# Find frame and format buttons, and saves them as docs/screenshots/items.png and
# items-in-use.png. Usage: tools/screenshot-items.sh [build folder]
# The picture is drawn offscreen from fixed content, so running it again gives the same file.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target windowshot >/dev/null
mkdir -p "$repo/docs/screenshots"
XDG_RUNTIME_DIR="$work" "$build/tools/windowshot/windowshot" "$repo/docs/screenshots/items.png"
XDG_RUNTIME_DIR="$work" "$build/tools/windowshot/windowshot" items-in-use "$repo/docs/screenshots/items-in-use.png"
echo "$repo/docs/screenshots/items.png"
echo "$repo/docs/screenshots/items-in-use.png"
