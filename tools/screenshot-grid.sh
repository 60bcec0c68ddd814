#!/bin/bash
# Takes a screenshot of the grid widget in a real X window (Xvfb) and saves it as
# docs/screenshots/grid.png. Usage: tools/screenshot-grid.sh [build folder]
# The build folder must hold built quorvane_grid and quorvane_platform libraries
# (default: build). Needs Xvfb, x11-utils and imagemagick. Running it again without a change
# to the grid writes the same bytes.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
# The display's server is waited for, so that it has let go of its display number.
trap 'kill ${demo_pid:-} ${xvfb_pid:-} 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT

cmake --build "$build" --target quorvane_grid quorvane_platform >/dev/null
cmake -S "$repo/tools/griddemo" -B "$work/build" -DQUORVANE_BUILD="$build" >/dev/null
cmake --build "$work/build" >/dev/null

# A display number nobody uses.
display=""
for n in $(seq 90 189); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display" >&2; exit 1; }
Xvfb "$display" -screen 0 800x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do
  DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
DISPLAY="$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work" "$work/build/griddemo" >/dev/null 2>&1 &
demo_pid=$!
shown=no
for _ in $(seq 1 100); do
  if DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -q '"Grid"'; then shown=yes; break; fi
  sleep 0.1
done
[ "$shown" = yes ] || { echo "the grid demo showed no window" >&2; exit 1; }
sleep 1 # the first paint
mkdir -p "$repo/docs/screenshots"
DISPLAY="$display" /usr/bin/import -window root "$work/root.png"
# Without the time stamps and other metadata, the same picture gives the same bytes, so an
# unchanged grid leaves the committed file unchanged.
/usr/bin/convert "$work/root.png" -crop 560x300+0+0 +repage -strip -define png:exclude-chunk=date,time \
  "$repo/docs/screenshots/grid.png"
echo "$repo/docs/screenshots/grid.png"
