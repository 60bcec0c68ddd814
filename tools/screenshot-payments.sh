#!/bin/bash
# Takes the picture of the payments window with a payment being entered and saves it as
# docs/screenshots/payments.png. Usage: tools/screenshot-payments.sh [build folder]
# The picture is drawn offscreen from fixed content, so running it again gives the same file.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target paymentshot >/dev/null
mkdir -p "$repo/docs/screenshots"
# The payment date is written in the locale's short date form: one locale for every run.
LC_ALL=C.UTF-8 XDG_RUNTIME_DIR="$work" "$build/tools/paymentshot/paymentshot" "$repo/docs/screenshots/payments.png"
echo "$repo/docs/screenshots/payments.png"
