#!/usr/bin/env bash
# Installs the program into a temporary program folder with a settings file of an earlier
# run, starts it on a private virtual display, checks that it shows its start-up window
# "Main Menu", closes that window as a window manager would, and checks that the program then
# ends cleanly and has written its settings file. Leaves nothing behind.
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

# The settings file of an earlier run (71 lines, CR LF, bit 7 of every byte toggled at rest),
# written in two ways the program reads but never writes: a network mode option as "-1" and a
# line after the 71st. The shut-down writes "True" and the 71 lines only.
settings_lines() {
  local option="$1" extra="$2" window="0 6210 9060 1275 1380 True True" v
  for v in $window; do echo "$v"; done; for _ in 1 2 3 4 5 6; do echo; done
  for v in $window; do echo "$v"; done; for _ in 1 2 3 4 5 6; do echo; done
  for v in $window; do echo "$v"; done; for _ in 1 2 3 4 5 6; do echo; done
  for v in 0 6210 4800 1275 1380 True True; do echo "$v"; done
  printf '%s\n' 0 0 "Test Company" "Street 1" "Town" 1000 "mail@test.example" 01 02 "" "" "" "" "" 0 ""
  printf '%s\n' "$option" False False 0 0 "" "" "" ""
  [ -z "$extra" ] || echo "$extra"
}
scrambled() { sed 's/$/\r/' | LC_ALL=C tr '\000-\177\200-\377' '\200-\377\000-\177'; }
settings="$work/program/System/RAzar/sys/0.dat"
mkdir -p "$(dirname "$settings")"
settings_lines -1 "left over" | scrambled >"$settings"
settings_lines True "" | scrambled >"$work/expected.dat"

# A display number nobody uses.
display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
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
for _ in $(seq 1 100); do [ -s "$work/app.pid" ] && break; sleep 0.1; done
app_pid=$(cat "$work/app.pid")
ended() { [ -s "$work/app.status" ]; }
window_shown() { DISPLAY="$display" xwininfo -root -tree 2>/dev/null | grep -q "\"$1\""; }

# These waits only guard against a hang; the program normally takes a moment.
shown=no
for _ in $(seq 1 600); do
  if ended; then
    echo "the program ended by itself:"; cat "$work/app.log"; exit 1
  fi
  if window_shown "Main Menu"; then shown=yes; break; fi
  sleep 0.1
done
[ "$shown" = yes ] || { echo "no window titled Main Menu appeared"; cat "$work/app.log"; exit 1; }
ended && { echo "the program ended after showing its window"; cat "$work/app.log"; exit 1; }

# The start-up ends with the spreadsheet probe; on a machine where the spreadsheet program
# cannot start, its message is answered first, as a user would.
excel_title="Velkorn      Excel Error"
DISPLAY="$display" "$close_window" "Main Menu"
for _ in $(seq 1 600); do
  ended && break
  if window_shown "$excel_title"; then
    echo "the spreadsheet program could not be started; answering its message"
    DISPLAY="$display" "$close_window" "$excel_title" || true
    sleep 0.5
    DISPLAY="$display" "$close_window" "Main Menu" || true
  fi
  sleep 0.1
done
ended || { echo "the program did not end when its window was closed"; exit 1; }
app_pid=""
status=$(cat "$work/app.status")
[ "$status" -eq 0 ] || { echo "the program ended with status $status"; cat "$work/app.log"; exit 1; }
cmp -s "$settings" "$work/expected.dat" || {
  echo "the settings file was not written at shut-down:"
  LC_ALL=C tr '\000-\177\200-\377' '\200-\377\000-\177' <"$settings" | od -c | head -40
  exit 1
}
echo "the program showed its start-up window, ended cleanly when it was closed and wrote its settings"
