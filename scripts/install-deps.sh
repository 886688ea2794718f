#!/usr/bin/env bash
# Installs everything the build and the tests need on Debian 12, idempotently; with --artwork,
# also what the artwork script draws with.
# Packages that are already present are not touched; apt runs only when something is missing.
set -euo pipefail

packages=(
  # host build, tests, fuzzers and benchmarks
  cmake ninja-build g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  # the data scripts under tools/data and their tests (standard library only)
  python3
  # the host side of update signatures (the publish tool and the tests): OpenSSL
  libssl-dev
  # Windows cross compilers (win32 and posix thread variants) and resource compiler
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  # Windows tests and end-to-end runs (wine32, for the 32-bit build, is added below)
  wine wine64 xvfb xdotool x11-utils imagemagick locales
  # the Windows setups (makensis), and a look into the 32-bit one in the tests
  nsis p7zip-full
  # the update server of the tests (started unprivileged on a loopback port by the tests), and
  # the certificate of its TLS port
  nginx-light openssl
  # the fonts the Wine prefixes see, and no others (cmake/wine-run.sh): a Song face for 宋体, a
  # sans face for 黑体, Arial's metrics, Wine's own Tahoma and Marlett
  fontconfig fonts-arphic-uming fonts-wqy-microhei fonts-liberation2 fonts-wine
)
# --artwork: also what tools/artwork/make_artwork.py draws with (a maintainer's run, not the
# build's): ImageMagick for text and BMP output, the CJK and Latin outline fonts, and WenQuanYi's
# bitmap song face. The fonts become pixels of the checked-in pictures; the Wine prefixes never
# see them (cmake/wine-run.sh).
if [ "${1:-}" = "--artwork" ]; then
  packages+=(imagemagick fontconfig fonts-noto-cjk xfonts-wqy fonts-dejavu-core)
fi

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

# Whether the kernel runs 32-bit programs: the smallest i386 program, which only exits with 0
# through the 32-bit system call. A kernel without ia32 emulation refuses it.
kernel_runs_32_bit() {
  local probe status
  probe=$(mktemp) || return 1
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' >"$probe"
  printf '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' >>"$probe"
  printf '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00' >>"$probe"
  printf '\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08' >>"$probe"
  printf '\x00\x80\x04\x08\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00' >>"$probe"
  printf '\x00\x10\x00\x00\x31\xdb\x31\xc0\x40\xcd\x80' >>"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  [ "$status" -eq 0 ]
}

# Wine's 32-bit half (wine32, an i386 package) runs the 32-bit build's programs through WoW64.
# It starts with an i386 Linux program, so it is installed only where the kernel runs those:
# elsewhere it would run nothing (Wine 8's experimental WoW64 mode, tried by wine64 when the
# 32-bit loader cannot start, needs a 32-bit system call as well). dpkg must know the i386
# architecture before apt's lists are fetched; multiarch wants equal versions on both sides, so
# installing it may also bring some amd64 libraries to their current point release.
if kernel_runs_32_bit; then
  packages+=(wine32:i386)
  if ! { dpkg --print-architecture; dpkg --print-foreign-architectures; } | grep -qx i386; then
    echo "adding the i386 architecture (for wine32)"
    $SUDO dpkg --add-architecture i386
  fi
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine runs with a Chinese locale so that its ANSI code page is 936, as on the systems we serve.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
