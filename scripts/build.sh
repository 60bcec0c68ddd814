#!/usr/bin/env bash
# Builds the targets named (everything, tests and benchmarks included, when none is named)
# into build/, configuring it first when it has not been. The compilers run at a lower
# priority, one fewer than the cores and at most one per 1.5 GB of free memory, so the
# desktop stays usable during a build.
# Usage: build.sh [target...]
set -euo pipefail
cd "$(dirname "$0")/.."

# Ninja finds that nothing changed in a moment, where make takes many seconds; a build
# folder configured earlier keeps its generator.
if [ ! -f build/Makefile ] && [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi

cores=$(nproc)
free_kb=$(awk '/^MemAvailable:/ { print $2 }' /proc/meminfo)
jobs=$((cores - 1))
by_memory=$((${free_kb:-0} / 1500000))
[ "$by_memory" -lt "$jobs" ] && jobs=$by_memory
[ "$jobs" -lt 1 ] && jobs=1

targets=()
[ $# -gt 0 ] && targets=(--target "$@")
nice -n 10 cmake --build build -j"$jobs" "${targets[@]}"
