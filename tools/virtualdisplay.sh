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
