#!/bin/bash
# Draws the file search window in use, offscreen, into docs/screenshots/filesearch.png (a drive
# search with its results) and docs/screenshots/filesearch-listing.png (a listing docked at the
# left). The tree it searches is made afresh at a fixed place each time, so every run draws the
# same pictures. Usage: tools/screenshot-filesearch.sh [build folder]
# The build folder must hold built quorvane_shell, quorvane_datafiles and quorvane_platform
# libraries (default: build).
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target quorvane_shell quorvane_datafiles quorvane_platform >/dev/null
cmake -S "$repo/tools/filesearchdemo" -B "$work/build" -DQUORVANE_BUILD="$build" >/dev/null
cmake --build "$work/build" >/dev/null

mkdir -p "$repo/docs/screenshots"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work" "$work/build/filesearchdemo" /tmp/qvdemo \
  "$repo/docs/screenshots/filesearch.png" "$repo/docs/screenshots/filesearch-listing.png"
echo "$repo/docs/screenshots/filesearch.png"
echo "$repo/docs/screenshots/filesearch-listing.png"
