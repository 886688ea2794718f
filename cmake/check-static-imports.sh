#!/usr/bin/env bash
# Checks that every Windows binary in a directory is of the expected machine type and imports no
# MinGW runtime DLL, so that each deliverable is one self-contained file, and that its image can
# be mapped from the file and shared between processes (4 KiB file alignment, no DWARF sections):
#   check-static-imports.sh OBJDUMP FORMAT DIR      (FORMAT: pei-x86-64 or pei-i386)
set -uo pipefail
objdump=$1 format=$2 dir=$3
status=0
count=0
for binary in "$dir"/*.exe "$dir"/*.dll "$dir"/*.ime; do
  [ -e "$binary" ] || continue
  count=$((count + 1))
  if ! "$objdump" -f "$binary" | grep -q "file format $format"; then
    echo "$binary: not $format"
    status=1
  fi
  headers=$("$objdump" -p "$binary")
  if ! grep -q -E '^FileAlignment[[:space:]]+0*1000$' <<<"$headers"; then
    echo "$binary: $(grep -E '^FileAlignment' <<<"$headers"), not 4 KiB"
    status=1
  fi
  if "$objdump" -h "$binary" | grep -q ' \.debug_'; then
    echo "$binary: carries DWARF sections"
    status=1
  fi
  runtime=$(grep -i 'DLL Name' <<<"$headers" |
            grep -i -E 'libstdc\+\+|libgcc|libwinpthread|mingw' || true)
  if [ -n "$runtime" ]; then
    echo "$binary imports a MinGW runtime DLL:"
    echo "$runtime"
    status=1
  fi
done
echo "$count binaries checked"
[ "$count" -gt 0 ] || status=1
exit $status
