#!/bin/bash
# Takes the pictures of the places whose captions must be whole at the default font, from the
# program running on a virtual display (Xvfb) with the default font and style of a desktop
# without settings of its own: docs/screenshots/login.png (the start-up window asking for the
# password), items-find.png (the item groups window with its Find frame open),
# contacts-transfer.png (the contact companies window with its hand-off frame) and
# login-wait.png (the login waiting after five wrong passwords, kept open by unsaved work).
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

display=""
for n in $(seq 150 200); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }
Xvfb "$display" -screen 0 1400x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
mkdir -m 700 -p "$work/xdg"
DISPLAY="$display" XDG_RUNTIME_DIR="$work/xdg" QT_QPA_PLATFORM=xcb \
  "$build/tools/captionshot/captionshot" "$repo/docs/screenshots"
