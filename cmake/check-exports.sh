#!/usr/bin/env bash
# Checks that a DLL exports exactly the named functions, under their plain names:
#   check-exports.sh OBJDUMP MODULE NAME...
set -uo pipefail
objdump=$1 module=$2
shift 2
exports=$("$objdump" -p "$module" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/^\t\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
wanted=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
if [ "$exports" != "$wanted" ]; then
  echo "$module exports: $exports"
  echo "expected:        $wanted"
  exit 1
fi
