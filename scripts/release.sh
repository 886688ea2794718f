#!/usr/bin/env bash
# Cuts a release in one step: builds the programs trusting only the release key, both setups,
# and the update directory signed with that key, all under build/release/:
#   setup-x64.exe, setup-x86.exe
#   updates/      the 64-bit programs and module, each with its manifest and signature
#   updates-x86/  the same for 32-bit installations: the 32-bit programs look there
#   [TVIME_UPDATE_BASE_URL=https://host/updates/] scripts/release.sh release-key.pem
# The update server's address is the build's default unless given; the 32-bit programs get the
# same address with "updates-x86/" in place of "updates/".
# The key is an ECDSA P-256 private key in PEM (see the README); it never enters the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: scripts/release.sh RELEASE-KEY.pem" >&2; exit 2; }
key=$(realpath "$1")

scripts/install-deps.sh
out=build/release
rm -rf "$out/updates" "$out/updates-x86"
mkdir -p "$out"
cmake --preset host-release >/dev/null
cmake --build --preset host-release --target tvime-publish >/dev/null
publish=build/host-release/tools/tvime-publish
"$publish" --public-key "$key" >"$out/release-key.pub.hex"

base=${TVIME_UPDATE_BASE_URL:-$(sed -n 's/^set(TVIME_UPDATE_BASE_URL "\([^"]*\)".*/\1/p' \
                                  update/CMakeLists.txt)}
declare -A base_of=([win64]="$base" [win32]="${base%updates/}updates-x86/")
programs=(tvime30 tvimetsf tvimegui tvimedic tvimeup tvimeist)
for preset in win64 win32; do
  cmake --preset "$preset" -B "$out/$preset" -DTVIME_RELEASE=ON \
    -DTVIME_UPDATE_KEY_FILE="$PWD/$out/release-key.pub.hex" \
    -DTVIME_UPDATE_BASE_URL="${base_of[$preset]}" >/dev/null
  cmake --build "$out/$preset" --target "${programs[@]}" >/dev/null
done

BIN64=$out/win64/bin BIN32=$out/win32/bin PACKAGE_DIR=$out scripts/package.sh --no-build
"$publish" "$key" "$out/updates" "$out"/win64/bin/{tvimegui.exe,tvimedic.exe,tvimeup.exe,tvime30.ime,tvimetsf.dll}
"$publish" "$key" "$out/updates-x86" "$out"/win32/bin/{tvimegui.exe,tvimedic.exe,tvimeup.exe,tvime30.ime,tvimetsf.dll}
echo "release in $out: $(ls "$out"/setup-*.exe "$out"/updates "$out"/updates-x86 | tr '\n' ' ')"
