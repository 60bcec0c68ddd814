#!/usr/bin/env bash
# Sets up the machine, builds the program (only the program: the tests are test.sh's),
# installs it into its program folder and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

# The program is a desktop program: without a display it cannot start, so that is found out
# before anything is installed or built.
no_display() {
  echo "run.sh: no display to show the program on: $1; start it from a desktop session." >&2
  exit 1
}
[ -n "${DISPLAY:-}" ] || no_display "DISPLAY is not set"
if command -v xdpyinfo >/dev/null 2>&1; then
  xdpyinfo >/dev/null 2>&1 || no_display "the display $DISPLAY cannot be opened"
elif [[ "$DISPLAY" =~ ^(unix)?:([0-9]+)(\.[0-9]+)?$ ]]; then
  [ -S "/tmp/.X11-unix/X${BASH_REMATCH[2]}" ] || no_display "the display $DISPLAY is not running"
fi

echo "Checking the packages the program needs..."
bash scripts/setup.sh

if [ -x build/src/app/quorvane ]; then
  echo "Building what changed..."
else
  echo "Building the program (the first build takes a few minutes; later ones take seconds)..."
fi
mkdir -p build
log=build/run-build.log
if ! bash scripts/build.sh quorvane >"$log" 2>&1; then
  tail -n 30 "$log" >&2
  echo "run.sh: the build failed; its whole output is in $log." >&2
  exit 1
fi

prefix="${QUORVANE_HOME:-$HOME/.local/share/quorvane}"
echo "Installing into $prefix..."
cmake --install build --prefix "$prefix" >/dev/null
echo "Starting $prefix/quorvane"
exec "$prefix/quorvane" "$@"
