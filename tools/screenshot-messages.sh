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
work="$(mktemp -d)"
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cmake --build "$build" --target messageshot >/dev/null

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
  "$build/tools/messageshot/messageshot" "$repo/docs/screenshots"
