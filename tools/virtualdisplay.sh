# Sourced by the screenshot scripts that run the program on a display of their own.

# start_virtual_display: starts Xvfb on the first free display from :150 on and waits until it
# answers; sets display and xvfb_pid (the caller's clean-up ends xvfb_pid).
start_virtual_display() {
  display=""
  for n in $(seq 150 200); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
  done
  [ -n "$display" ] || { echo "no free display"; exit 1; }
  Xvfb "$display" -screen 0 1400x1000x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
}

# run_picture_program NAME: builds the picture program tools/NAME in the build folder $build
# and runs it on a virtual display with the default font and style of a desktop without
# settings of its own; it saves its pictures into $repo/docs/screenshots.
run_picture_program() {
  local name="$1"
  picture_work="$(mktemp -d)"
  xvfb_pid=""
  trap 'end_picture_program' EXIT
  cmake --build "$build" --target "$name" >/dev/null
  start_virtual_display
  mkdir -m 700 -p "$picture_work/xdg"
  DISPLAY="$display" XDG_RUNTIME_DIR="$picture_work/xdg" QT_QPA_PLATFORM=xcb \
    "$build/tools/$name/$name" "$repo/docs/screenshots"
}

end_picture_program() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$picture_work"
}
