#!/bin/bash
# Takes the pictures of the windows in use during one whole invoicing cycle of the installed
# program on a virtual display (the end-to-end test's run): the settings with the opening
# balance, the item group, the contact company, the transaction built from transferred items,
# the payment proposed, and the start-up window after a restart. Saves them as
# docs/screenshots/cycle-*.png. Usage: tools/screenshot-cycle.sh [build folder]
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"

cmake --build "$build" --target e2e_invoicing quorvane >/dev/null
mkdir -p "$repo/docs/screenshots"
QUORVANE_SHOTS="$repo/docs/screenshots" bash "$repo/tests/e2e/run_under_xvfb.sh" "$build" \
  "$build/tests/e2e/e2e_invoicing" >/dev/null
ls "$repo"/docs/screenshots/cycle-*.png
