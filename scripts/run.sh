#!/usr/bin/env bash
# Sets up the machine, builds the program, installs it into its program folder and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
prefix="${QUORVANE_HOME:-$HOME/.local/share/quorvane}"
cmake --install build --prefix "$prefix" >/dev/null
exec "$prefix/quorvane" "$@"
