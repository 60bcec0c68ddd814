#!/bin/bash
# Takes a screenshot of the grid widget in a real X window (Xvfb) and saves it as
# docs/screenshots/grid.png. Usage: tools/screenshot-grid.sh [build folder]
# The build folder must hold built quorvane_grid and quorvane_platform libraries
# (default: build). Needs Xvfb and imagemagick.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
trap 'kill ${demo_pid:-} ${xvfb_pid:-} 2>/dev/null || true; rm -rf "$work"' EXIT

cmake --build "$build" --target quorvane_grid quorvane_platform >/dev/null
cmake -S "$repo/tools/griddemo" -B "$work/build" -DQUORVANE_BUILD="$build" >/dev/null
cmake --build "$work/build" >/dev/null

display=":$(( 90 + RANDOM % 100 ))"
Xvfb "$display" -screen 0 800x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work" "$work/build/griddemo" >/dev/null 2>&1 &
demo_pid=$!
sleep 2
mkdir -p "$repo/docs/screenshots"
DISPLAY="$display" /usr/bin/import -window root "$work/root.png"
/usr/bin/convert "$work/root.png" -crop 560x300+0+0 +repage "$repo/docs/screenshots/grid.png"
echo "$repo/docs/screenshots/grid.png"
