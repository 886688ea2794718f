#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix:
#   wine-run.sh --prefix DIR PROGRAM.exe [ARGS...]
# or says whether 32-bit programs can run here at all (exit code 0 when they can):
#   wine-run.sh --runs-32-bit
# The prefix is created on first use (once per build tree): Chinese locale, so that the ANSI code
# page is 936 as on the systems served; a declared set of fonts; no crash dialog. It is a 64-bit
# prefix; 32-bit programs run in it through WoW64 (SysWOW64, the registry's 32-bit view), as on
# the 64-bit systems served, when Wine's 32-bit half runs on this machine.
# Output has its CR LF line ends turned into LF; the program's exit code is passed through.
set -uo pipefail

# Wine's 32-bit half (wine32:i386) starts with an i386 Linux program, which runs only where the
# kernel runs 32-bit programs: a kernel built or booted without ia32 emulation refuses it, and
# then no 32-bit Windows program runs either (Wine 8's experimental WoW64 mode sets the 32-bit
# thread area with a 32-bit system call too).
wine32=/usr/lib/wine/wine
if "$wine32" --version >/dev/null 2>&1; then wine32_runs=yes; else wine32_runs=no; fi
if [ "${1:-}" = "--runs-32-bit" ]; then
  [ "$wine32_runs" = yes ]
  exit
fi

if [ "${1:-}" != "--prefix" ] || [ $# -lt 3 ]; then
  echo "usage: $0 --prefix DIR PROGRAM [ARGS...] | $0 --runs-32-bit" >&2
  exit 2
fi
prefix=$2
shift 2

# Raised whenever the set-up below changes, so that older prefixes are made again. A prefix made
# while Wine's 32-bit half could not run (wine32 not yet installed, say) has an empty SysWOW64,
# and then not even a 64-bit program starts through /usr/bin/wine: the 32-bit half's state is
# part of the version.
prefix_version="tvime prefix 3: declared fonts; 32-bit half: $wine32_runs"

# The only fonts the programs see, whatever else the machine has: text widths decide where list
# items sit, so the panels must measure the same on every machine. scripts/install-deps.sh
# installs these packages; fontconfig is given a directory with links to exactly these files.
declared_fonts=(
  # fonts-arphic-uming: AR PL UMing, a Song face with all of GBK, for 宋体 and 新宋体
  /usr/share/fonts/truetype/arphic/uming.ttc
  # fonts-wqy-microhei: WenQuanYi Micro Hei, a sans face, for 黑体 and 微软雅黑
  /usr/share/fonts/truetype/wqy/wqy-microhei.ttc
  # fonts-liberation2: the metrics of Arial, Times New Roman and Courier New
  /usr/share/fonts/truetype/liberation2/Liberation{Sans,Serif,Mono}-{Regular,Bold,Italic,BoldItalic}.ttf
  # fonts-wine: Wine's own Tahoma and the Marlett glyphs of window frames and menus
  /usr/share/wine/fonts/{tahoma,tahomabd,marlett,symbol}.ttf
)
# What each face the programs ask for resolves to.
font_replacements=(
  "SimSun=AR PL UMing CN" "宋体=AR PL UMing CN" "NSimSun=AR PL UMing CN" "新宋体=AR PL UMing CN"
  "SimHei=WenQuanYi Micro Hei" "黑体=WenQuanYi Micro Hei"
  "Microsoft YaHei=WenQuanYi Micro Hei" "微软雅黑=WenQuanYi Micro Hei"
  "Arial=Liberation Sans" "Times New Roman=Liberation Serif" "Courier New=Liberation Mono"
)

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)

# The machine a PE file is built for (14c for i386, 8664 for x86-64), empty for anything else.
pe_machine() {
  local file=$1 offset
  [ -f "$file" ] || return 0
  offset=$(od -An -t u4 -j 60 -N 4 "$file" 2>/dev/null | tr -d ' ')
  [ -n "$offset" ] || return 0
  [ "$(od -An -c -j "$offset" -N 4 "$file" 2>/dev/null | tr -d ' ')" = 'PE\0\0' ] || return 0
  od -An -t x2 -j $((offset + 4)) -N 2 "$file" 2>/dev/null | tr -d ' '
}
if [ "$wine32_runs" = no ] && [ "$(pe_machine "$1")" = 014c ]; then
  echo "wine-run.sh: $1 is a 32-bit program, and Wine's 32-bit half does not run here" \
       "($wine32 is missing, or the kernel runs no 32-bit programs)" >&2
  exit 125
fi
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
export FONTCONFIG_FILE=$prefix/tvime-fonts/fonts.conf

# A font directory of links to the declared fonts and a fontconfig file that knows only it.
make_font_set() {
  local dir=$prefix/tvime-fonts font
  mkdir -p "$dir/files" "$dir/cache"
  for font in "${declared_fonts[@]}"; do
    if [ ! -f "$font" ]; then
      echo "wine-run.sh: missing font $font (scripts/install-deps.sh installs it)" >&2
      return 1
    fi
    ln -sf "$font" "$dir/files/"
  done
  cat >"$FONTCONFIG_FILE" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$dir/files</dir>
  <cachedir>$dir/cache</cachedir>
</fontconfig>
CONF
  fc-cache "$dir/files" >/dev/null 2>&1
}

make_prefix() {
  if [ -d "$prefix" ]; then
    wineserver -k 2>/dev/null
    rm -rf "$prefix"
  fi
  mkdir -p "$prefix"
  make_font_set || return 1
  timeout 300 "$wine" wineboot -i >/dev/null 2>&1
  wineserver -w
  local fonts='HKCU\Software\Wine\Fonts\Replacements' replacement
  for replacement in "${font_replacements[@]}"; do
    "$wine" reg add "$fonts" /v "${replacement%%=*}" /t REG_SZ /d "${replacement#*=}" /f \
      >/dev/null 2>&1
  done
  # There is no window manager under Xvfb: Wine draws the frames itself, and does not wait for
  # one when a window is hidden.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # A crash exits at once with a backtrace instead of opening winedbg's dialog.
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
  wineserver -w
  if [ "$wine32_runs" = yes ] && [ ! -f "$prefix/drive_c/windows/syswow64/kernel32.dll" ]; then
    echo "wine-run.sh: $prefix has no 32-bit half (SysWOW64 is empty)" >&2
    return 1
  fi
  echo "$prefix_version" >"$prefix/.tvime-ready"
}

prefix_ready() { [ "$(cat "$prefix/.tvime-ready" 2>/dev/null)" = "$prefix_version" ]; }

if ! prefix_ready; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  prefix_ready || make_prefix || exit 1
  flock -u 9
  exec 9>&-
fi

# The output goes to files, not pipes: a process the program starts and leaves running (an
# updater it launches; Wine's own services, which the first program in a prefix starts) inherits
# them, and a pipe would stay open, holding whoever reads it, until that process ended.
output=$(mktemp) errors=$(mktemp)
trap 'rm -f "$output" "$errors"' EXIT
timeout --kill-after=10 "${TVIME_WINE_TIMEOUT:-120}" "$wine" "$@" >"$output" 2>"$errors"
status=$?
tr -d '\r' <"$output"
cat "$errors" >&2
exit "$status"
