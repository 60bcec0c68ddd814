#!/usr/bin/env bash
# Installs the program into a temporary program folder, starts it on a private virtual
# display, checks that it shows its window, closes the window as a window manager would and
# checks that the program then ends cleanly. Leaves nothing behind.
# Usage: start_under_xvfb.sh <build folder> <closewindow program>
set -euo pipefail

build_dir="$1"
close_window="$2"
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cmake --install "$build_dir" --prefix "$work/program" >/dev/null

# A display number nobody uses.
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 50); do
  DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done

export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
# The program's exit status lands in a file, so the script sees the end at once (a child
# that has ended but not been waited for still answers kill -0).
(
  DISPLAY="$display" QT_QPA_PLATFORM=xcb "$work/program/quorvane" >"$work/app.log" 2>&1 &
  echo $! >"$work/app.pid"
  status=0
  wait $! || status=$?
  echo "$status" >"$work/app.status"
) &
for _ in $(seq 1 50); do [ -s "$work/app.pid" ] && break; sleep 0.1; done
app_pid=$(cat "$work/app.pid")
ended() { [ -s "$work/app.status" ]; }

shown=no
for _ in $(seq 1 100); do
  if ended; then
    echo "the program ended by itself:"; cat "$work/app.log"; exit 1
  fi
  if DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -q '"Quorvane"'; then
    shown=yes; break
  fi
  sleep 0.1
done
[ "$shown" = yes ] || { echo "no window titled Quorvane appeared"; cat "$work/app.log"; exit 1; }

sleep 1
ended && { echo "the program ended after showing its window"; cat "$work/app.log"; exit 1; }

DISPLAY="$display" "$close_window" Quorvane
for _ in $(seq 1 100); do
  ended && break
  sleep 0.1
done
ended || { echo "the program did not end when its window was closed"; exit 1; }
app_pid=""
status=$(cat "$work/app.status")
[ "$status" -eq 0 ] || { echo "the program ended with status $status"; cat "$work/app.log"; exit 1; }
echo "the program showed its window and ended cleanly when it was closed"
