#!/bin/bash
# Takes the screenshots of the start-up window from the real program under a virtual display
# (Xvfb): docs/screenshots/startup-welcome.png, the welcome frame of a first run, and
# docs/screenshots/startup-launcher.png, the launcher of a program whose company details are
# stored. Running it again without a change to the program gives the same files.
# Usage: tools/screenshot-startup.sh [build folder]   (needs Xvfb, x11-utils, imagemagick)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cmake --build "$build" --target quorvane closewindow >/dev/null
close_window="$build/tests/app/closewindow"

# The pointer rests in the middle of the screen, away from the window, so that no label is lit.
source "$repo/tools/virtualdisplay.sh"
start_virtual_display
export DISPLAY="$display" XDG_RUNTIME_DIR="$work/xdg" QT_QPA_PLATFORM=xcb
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

window_id() { xwininfo -root -tree 2>/dev/null | awk -v t="\"$1\":" '$2 == t || index($0, t) { print $1; exit }'; }
wait_for() {
  local id=""
  for _ in $(seq 1 600); do id=$(window_id "$1"); [ -n "$id" ] && { echo "$id"; return; }; sleep 0.1; done
  echo "no window titled $1 appeared" >&2; exit 1
}
# A picture of the window once it has stopped changing.
shoot() {
  local id="$1" out="$2" previous="$work/previous.png" current="$work/current.png"
  rm -f "$previous"
  for _ in $(seq 1 120); do
    sleep 0.5
    import -window "$id" -strip -define png:exclude-chunks=date,time "$current"
    if [ -f "$previous" ] && cmp -s "$previous" "$current"; then
      mkdir -p "$(dirname "$out")"
      cp "$current" "$out"
      echo "$out"
      return
    fi
    mv "$current" "$previous"
  done
  echo "the window kept changing" >&2; exit 1
}
start_program() {
  "$1/quorvane" >"$work/app.log" 2>&1 &
  app_pid=$!
}
stop_program() {
  "$close_window" "Main Menu"
  wait "$app_pid" || true
  app_pid=""
}

# A first run: the first-run message is answered, then the welcome frame shows.
cmake --install "$build" --prefix "$work/first" >/dev/null
start_program "$work/first"
wait_for "Quorvane" >/dev/null
"$close_window" "Quorvane"
shoot "$(wait_for "Main Menu")" "$repo/docs/screenshots/startup-welcome.png"
stop_program

# A later run: the settings file holds the company details (71 lines, CR LF, scrambled).
cmake --install "$build" --prefix "$work/later" >/dev/null
mkdir -p "$work/later/System/RAzar/sys"
{
  for _ in 1 2 3; do printf '%s\n' 0 6210 9060 1275 1380 True True "" "" "" "" "" ""; done
  printf '%s\n' 0 6210 4800 1275 1380 True True 0 0 "Kos Joinery Ltd" "12 Mill Street" "Kranj" 4000 \
    "office@kos.example" "04 111 222" "04 111 333" "" "" "" "" "" 0 "" True False False 0 0 "" "" "" ""
} | sed 's/$/\r/' | LC_ALL=C tr '\000-\177\200-\377' '\200-\377\000-\177' >"$work/later/System/RAzar/sys/0.dat"
start_program "$work/later"
shoot "$(wait_for "Main Menu")" "$repo/docs/screenshots/startup-launcher.png"
stop_program
