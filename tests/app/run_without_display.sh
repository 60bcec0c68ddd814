#!/usr/bin/env bash
# scripts/run.sh without a display: it says in one line that the display is missing and
# stops with a failure, before it installs or builds anything. The tools it would run for
# that (the package tools, cmake, the compilers) are replaced by ones that only note that
# they were called.
# Usage: run_without_display.sh <source folder>
set -euo pipefail

source_dir="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
for tool in apt-get apt dpkg dpkg-query sudo cmake make ninja c++ g++ gcc cc; do
  printf '#!/bin/sh\necho %s >>"%s/called"\nexit 1\n' "$tool" "$work" >"$work/bin/$tool"
  chmod +x "$work/bin/$tool"
done

# A display number nobody uses.
absent=5000
while [ -e "/tmp/.X11-unix/X$absent" ] || [ -e "/tmp/.X$absent-lock" ]; do absent=$((absent + 1)); done

failed=0
# Not set at all, and set to a display that is not there.
for display in unset ":$absent"; do
  rm -f "$work/called"
  status=0
  if [ "$display" = unset ]; then
    env -u DISPLAY -u WAYLAND_DISPLAY PATH="$work/bin:$PATH" bash "$source_dir/scripts/run.sh" \
      >"$work/out" 2>&1 || status=$?
  else
    env -u WAYLAND_DISPLAY DISPLAY="$display" PATH="$work/bin:$PATH" bash "$source_dir/scripts/run.sh" \
      >"$work/out" 2>&1 || status=$?
  fi
  lines=$(wc -l <"$work/out")
  if [ "$status" -eq 0 ]; then
    echo "display $display: run.sh ended with success"; failed=1
  fi
  if [ "$lines" -ne 1 ] || ! grep -qi "display" "$work/out"; then
    echo "display $display: run.sh did not say in one line that the display is missing:"
    cat "$work/out"; failed=1
  fi
  if [ -s "$work/called" ]; then
    echo "display $display: run.sh ran $(tr '\n' ' ' <"$work/called")before it stopped"; failed=1
  fi
done
[ "$failed" -eq 0 ] && echo "without a display run.sh says so in one line and stops before any work"
exit "$failed"
