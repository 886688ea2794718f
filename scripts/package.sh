#!/usr/bin/env bash
# Builds the two Windows setups from the built programs into build/package/:
#   setup-x64.exe  64-bit programs, the 64-bit module in System32 and the 32-bit one in SysWOW64
#   setup-x86.exe  32-bit programs and module, for 32-bit Windows
# Builds the win64 and win32 presets first, unless given --no-build (the test command has just
# built them). Prints each setup's size. The release script points it elsewhere with BIN64, BIN32
# and PACKAGE_DIR.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != "--no-build" ]; then
  scripts/install-deps.sh
  for preset in win64 win32; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target tvime30 tvimetsf tvimegui tvimedic tvimeup tvimeist >/dev/null
  done
fi

out=${PACKAGE_DIR:-build/package}
bin64=${BIN64:-build/win64/bin}
bin32=${BIN32:-build/win32/bin}
mkdir -p "$out"
version=$(sed -n 's/^project(tvime VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt).0
make_setup() {  # ARCH BIN [BIN32]
  local args=(-INPUTCHARSET UTF8 -V2 -DARCH="$1" -DBIN="$(realpath "$2")" -DVERSION="$version"
              -DLICENSE="$PWD/resources/license.rtf" -DOUTFILE="$(realpath "$out")/setup-$1.exe")
  [ -n "${3:-}" ] && args+=(-DBIN32="$(realpath "$3")")
  makensis "${args[@]}" install/setup/tvime.nsi >"$out/makensis-$1.log" 2>&1 || {
    tail -n 30 "$out/makensis-$1.log"
    return 1
  }
  echo "$out/setup-$1.exe: $(stat -c %s "$out/setup-$1.exe") bytes"
}
make_setup x64 "$bin64" "$bin32"
make_setup x86 "$bin32"
