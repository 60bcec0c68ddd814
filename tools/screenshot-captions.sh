#!/bin/bash
# Takes the pictures of the places whose captions must be whole at the default font, from the
# program running on a virtual display (Xvfb) with the default font and style of a desktop
# without settings of its own: docs/screenshots/login.png (the start-up window asking for the
# password), items-find.png (the item groups window with its Find frame open) and
# contacts-transfer.png (the contact companies window with its hand-off frame).
# Usage: tools/screenshot-captions.sh [build folder]   (needs Xvfb and x11-utils)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cmake --build "$build" --target captionshot >/dev/null

source "$repo/tools/virtualdisplay.sh"
start_virtual_display
mkdir -m 700 -p "$work/xdg"
DISPLAY="$display" XDG_RUNTIME_DIR="$work/xdg" QT_QPA_PLATFORM=xcb \
  "$build/tools/captionshot/captionshot" "$repo/docs/screenshots"
