#!/usr/bin/env bash
# The spreadsheet module takes part of what it needs from the program that loads it: every
# symbol it leaves undefined must be exported by the program or defined by a library one of
# them loads, or loading it at the first spreadsheet command fails.
# Usage: module_symbols.sh <program> <module>
set -euo pipefail

program="$1"
module="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

libraries() { ldd "$1" | awk '$2 == "=>" && $3 ~ /^\// { print $3 } $1 ~ /^\// { print $1 }'; }
{ libraries "$program"; libraries "$module"; } | sort -u >"$work/libraries"

# Defined symbols, without their version.
{
  nm -D --defined-only "$program"
  while read -r library; do nm -D --defined-only "$library"; done <"$work/libraries"
} | awk '{ print $NF }' | sed 's/@.*//' | sort -u >"$work/defined"

# Strong undefined symbols of the module (a weak one may stay undefined).
nm -D --undefined-only "$module" | awk '$1 == "U" { print $2 }' | sed 's/@.*//' | sort -u >"$work/needed"

missing=$(comm -23 "$work/needed" "$work/defined")
if [ -n "$missing" ]; then
  echo "the module needs what neither the program nor a library gives:"
  echo "$missing" | c++filt
  exit 1
fi
taken=$(comm -12 "$work/needed" <(nm -D --defined-only "$program" | awk '{ print $NF }' | sed 's/@.*//' | sort -u) | wc -l)
echo "every symbol the module needs is there; $taken of them come from the program"
