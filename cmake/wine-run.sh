#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix:
#   wine-run.sh --prefix DIR PROGRAM.exe [ARGS...]
# The prefix is created on first use (once per build tree): Chinese locale, so that the ANSI code
# page is 936 as on the systems served; a declared set of fonts; no crash dialog.
# Output has its CR LF line ends turned into LF; the program's exit code is passed through.
set -uo pipefail

if [ "${1:-}" != "--prefix" ] || [ $# -lt 3 ]; then
  echo "usage: $0 --prefix DIR PROGRAM [ARGS...]" >&2
  exit 2
fi
prefix=$2
shift 2

# Raised whenever the set-up below changes, so that older prefixes are made again.
prefix_version="tvime prefix 2: declared fonts"

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

timeout --kill-after=10 "${TVIME_WINE_TIMEOUT:-120}" "$wine" "$@" | tr -d '\r'
exit "${PIPESTATUS[0]}"
