#!/bin/bash
# Takes the screenshots of the settings window's Network page from the real program under a
# virtual display (Xvfb), one per network mode: docs/screenshots/settings-single.png,
# settings-host.png and settings-user.png. The program starts with a settings file of that
# mode; in host and user mode a host file and its data folder stand in a shared folder, named
# by a network path ("//tmp/...", which Linux reads as the local /tmp). The Settings label of
# the start-up window is clicked and the window is turned to its Network page.
# Usage: tools/screenshot-settings.sh [build folder]   (needs Xvfb, x11-utils, xdotool, imagemagick)
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
# A fixed folder, so that the paths the pictures show are the same on every run.
work=/tmp/quorvane-settings-shots
rm -rf "$work"
mkdir -p "$work"
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

source "$repo/tools/virtualdisplay.sh"
start_virtual_display
export DISPLAY="$display" XDG_RUNTIME_DIR="$work/xdg" QT_QPA_PLATFORM=xcb
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

# The window ids of the program's top-level windows, as the X server lists them.
program_windows() { xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null || true; }
window_id() { xwininfo -root -tree 2>/dev/null | awk -v t="\"$1\":" '$2 == t || index($0, t) { print $1; exit }'; }
wait_for() {
  local id=""
  for _ in $(seq 1 600); do id=$(window_id "$1"); [ -n "$id" ] && { echo "$id"; return; }; sleep 0.1; done
  echo "no window titled $1 appeared" >&2; exit 1
}
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
# Lines on standard input, CR LF and scrambled, into a data file.
scrambled_file() { sed 's/$/\r/' | LC_ALL=C tr '\000-\177\200-\377' '\200-\377\000-\177' >"$1"; }

share="$work/share"
host_file="//tmp/quorvane-settings-shots/share/Kos Joinery Ltd.QVNET"
mkdir -p "$share/QVNET/RAzar" "$share/QVNET/Sound" "$share/QVNET/Temp"
printf '%s\n' "This is QVNET file. Please don't delete or change it" 1250.5 17 "Kos Joinery Ltd" "12 Mill Street" \
  "Kranj" 4000 "office@kos.example" "04 111 222" "04 111 333" "" 4 "" 1 0 kos "12. 12. 2026 10:15:00" workshop \
  | scrambled_file "$share/Kos Joinery Ltd.QVNET"

# mode: single, host or user
settings_file() {
  local single=True host=False user=False myhost="" myfolder="" connected="" connectedfolder=""
  case "$1" in
    host) single=False; host=True; myhost="$host_file"; myfolder="${host_file%/*}/" ;;
    user) single=False; user=True; connected="$host_file"; connectedfolder="${host_file%/*}/" ;;
  esac
  {
    for _ in 1 2 3; do printf '%s\n' 0 6210 9060 1275 1380 True True "" "" "" "" "" ""; done
    printf '%s\n' 0 6210 4800 1275 1380 True True 1250.5 17 "Kos Joinery Ltd" "12 Mill Street" "Kranj" 4000 \
      "office@kos.example" "04 111 222" "04 111 333" "" "" "" "" "" 4 "" $single $host $user 1 0 \
      "$myhost" "$myfolder" "$connected" "$connectedfolder"
  } | scrambled_file "$2"
}

for mode in single host user; do
  cmake --install "$build" --prefix "$work/$mode" >/dev/null
  mkdir -p "$work/$mode/System/RAzar/sys"
  settings_file "$mode" "$work/$mode/System/RAzar/sys/0.dat"
  "$work/$mode/quorvane" >"$work/app.log" 2>&1 &
  app_pid=$!
  main=$(wait_for "Main Menu")
  sleep 1
  before=$(program_windows | sort)
  # The Settings label of the launcher (its middle, in the window's client area).
  xdotool mousemove --window "$main" 150 312 click 1
  settings=""
  for _ in $(seq 1 100); do
    settings=$(comm -13 <(echo "$before") <(program_windows | sort) | head -1)
    [ -n "$settings" ] && break
    sleep 0.1
  done
  [ -n "$settings" ] || { echo "the settings window did not appear" >&2; cat "$work/app.log" >&2; exit 1; }
  # The pointer leaves the windows; the Network page is the one before the first.
  xdotool mousemove 1300 950
  xdotool windowfocus --sync "$settings" key ctrl+shift+Tab
  shoot "$settings" "$repo/docs/screenshots/settings-$mode.png"
  "$close_window" "Main Menu"
  wait "$app_pid" || true
  app_pid=""
done
