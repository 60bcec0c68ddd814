#!/bin/bash
# Takes the picture of the transactions window with a transaction open and its Header menu
# pulled down, and saves it as docs/screenshots/transactions.png; and a new transaction with a
# column "Note" added and typed into, as docs/screenshots/transactions-new-note.png.
# Usage: tools/screenshot-transactions.sh [build folder]
# The picture is drawn offscreen from fixed content, so running it again gives the same file.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$repo/build}" && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target transactionshot >/dev/null
mkdir -p "$repo/docs/screenshots"
XDG_RUNTIME_DIR="$work" "$build/tools/transactionshot/transactionshot" "$repo/docs/screenshots/transactions.png" \
  "$repo/docs/screenshots/transactions-new-note.png"
echo "$repo/docs/screenshots/transactions.png"
echo "$repo/docs/screenshots/transactions-new-note.png"
