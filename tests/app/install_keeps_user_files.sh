#!/usr/bin/env bash
# Installs the program twice into one temporary program folder, as scripts/run.sh does on
# every start. The second install puts back a template that is missing and leaves a template
# the user edited as the user left it. Leaves nothing behind.
# Usage: install_keeps_user_files.sh <build folder> <resources folder>
set -euo pipefail

build_dir="$1"
resources="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
program="$work/program"
templates="System/RAzar/Template"
edited="$templates/Item/Item Form.xls"
removed="$templates/Contacts/Contact Form.xls"

cmake --install "$build_dir" --prefix "$program" >/dev/null
for template in "$edited" "$removed"; do
  cmp -s "$resources/$template" "$program/$template" || { echo "the first install did not put $template"; exit 1; }
done

printf 'edited by the user\r\n' >"$program/$edited"
rm "$program/$removed"
cmake --install "$build_dir" --prefix "$program" >/dev/null

[ "$(cat "$program/$edited")" = $'edited by the user\r' ] || { echo "the install replaced the user's $edited"; exit 1; }
cmp -s "$resources/$removed" "$program/$removed" || { echo "the install did not put back $removed"; exit 1; }
echo "the install added the missing template and kept the user's"
