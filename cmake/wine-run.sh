#!/usr/bin/env bash
# Runs a Windows program under Wine in the build tree's private prefix:
#   wine-run.sh --prefix DIR PROGRAM.exe [ARGS...]
# The prefix is created on first use (once per build tree): Chinese locale, so that the ANSI code
# page is 936 as on the systems served; a CJK font standing in for 宋体/SimSun; no crash dialog.
# Output has its CR LF line ends turned into LF; the program's exit code is passed through.
set -uo pipefail

if [ "${1:-}" != "--prefix" ] || [ $# -lt 3 ]; then
  echo "usage: $0 --prefix DIR PROGRAM [ARGS...]" >&2
  exit 2
fi
prefix=$2
shift 2

wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
export WINEPREFIX=$prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8

make_prefix() {
  mkdir -p "$prefix"
  timeout 300 "$wine" wineboot -i >/dev/null 2>&1
  wineserver -w
  local fonts='HKCU\Software\Wine\Fonts\Replacements'
  for face in SimSun 宋体 NSimSun 新宋体 SimHei 黑体 "Microsoft YaHei" 微软雅黑; do
    "$wine" reg add "$fonts" /v "$face" /t REG_SZ /d "AR PL UMing CN" /f >/dev/null 2>&1
  done
  # There is no window manager under Xvfb: Wine draws the frames itself, and does not wait for
  # one when a window is hidden.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # A crash exits at once with a backtrace instead of opening winedbg's dialog.
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1
  wineserver -w
  touch "$prefix/.tvime-ready"
}

if [ ! -f "$prefix/.tvime-ready" ]; then
  mkdir -p "$(dirname "$prefix")"
  exec 9>"$prefix.lock"
  flock 9
  [ -f "$prefix/.tvime-ready" ] || make_prefix
  flock -u 9
  exec 9>&-
fi

timeout --kill-after=10 "${TVIME_WINE_TIMEOUT:-120}" "$wine" "$@" | tr -d '\r'
exit "${PIPESTATUS[0]}"
