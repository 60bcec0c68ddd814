#!/usr/bin/env bash
# Installs the program into a temporary program folder, puts the end-to-end test program
# beside it (so that folder is its program folder too), and runs it on a private virtual
# display. Everything it starts (the display, the office, the print server) is ended at the
# end, and the folder removed.
# Usage: run_under_xvfb.sh <build folder> <test program>
set -euo pipefail

build_dir="$1"
test_program="$2"
work=$(mktemp -d)
xvfb_pid=""
test_pid=""
cleanup() {
  [ -n "$test_pid" ] && kill -- -"$test_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cmake --install "$build_dir" --prefix "$work/program" >/dev/null
cp "$test_program" "$work/program/"

display=""
for n in $(seq 141 199); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
up=no
for _ in $(seq 1 100); do
  if DISPLAY="$display" xdpyinfo >/dev/null 2>&1; then up=yes; break; fi
  sleep 0.1
done
[ "$up" = yes ] || { echo "the virtual display $display did not come up:"; cat "$work/xvfb.log"; exit 1; }

export XDG_RUNTIME_DIR="$work/xdg"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
export HOME="$work/home"
mkdir -p "$HOME"
status=0
DISPLAY="$display" QT_QPA_PLATFORM=xcb setsid "$work/program/$(basename "$test_program")" &
test_pid=$!
wait "$test_pid" || status=$?
# Whatever it left running (an office it did not quit) ends with its group.
kill -- -"$test_pid" 2>/dev/null || true
test_pid=""
exit "$status"
