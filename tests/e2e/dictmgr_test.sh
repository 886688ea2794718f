#!/usr/bin/env bash
# tvimedic as a user meets it: started with words in the user's word file, its dialog shows them
# (a screenshot to look at); a second copy ends at once while the first runs; 退出 ends it.
#   dictmgr_test.sh WINE_RUN PREFIX BIN_DIR OUTPUT_DIR
# Needs DISPLAY (an Xvfb server without a window manager).
set -uo pipefail
wine_run=$1 prefix=$2 bin=$3 out=$4
mkdir -p "$out"
source "$(dirname "$0")/gui_driver.sh"
source "$(dirname "$0")/checks.sh"

# The user's word file, where the programs look for it; the other tests' words come back after.
appdata=$("$wine_run" --prefix "$prefix" cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r\n')
words_dir=$("$wine_run" --prefix "$prefix" winepath -u "$appdata\\tvime" 2>/dev/null | tr -d '\r\n')
[ -n "$words_dir" ] || { echo "FAIL: no per-user data directory in the prefix"; exit 1; }
mkdir -p "$words_dir"
words="$words_dir/tvimeusr.txt"
kept="$out/tvimeusr.kept"
rm -f "$kept"
[ -f "$words" ] && cp "$words" "$kept"
restore_words() { if [ -f "$kept" ]; then mv "$kept" "$words"; else rm -f "$words"; fi; }
trap 'restore_words; WINEPREFIX="$prefix" wineserver -k 2>/dev/null' EXIT
printf '沃岚输入法\r\n鼠标点字\r\n用户词库\r\n笔画输入\r\n学习汉字\r\n' | iconv -f utf-8 -t gbk >"$words"

TVIME_WINE_TIMEOUT=60 "$wine_run" --prefix "$prefix" "$bin/tvimedic.exe" >/dev/null 2>&1 &
manager_pid=$!
for _ in $(seq 100); do [ "$(window_tool visible '#32770')" = 1 ] && break; sleep 0.1; done
read -r left top right bottom <<<"$(window_tool rect '#32770')"
if [ "$left" = none ] || [ -z "$left" ]; then
  fail "the manager's dialog did not show"
else
  xdotool mousemove 5 790
  sleep 0.5
  import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
    "$out/tvimedic.png"

  # A second copy ends by itself while the first one runs.
  start=$(date +%s)
  TVIME_WINE_TIMEOUT=20 "$wine_run" --prefix "$prefix" "$bin/tvimedic.exe" >/dev/null 2>&1
  [ $(($(date +%s) - start)) -lt 15 ] || fail "a second copy of the manager did not end at once"
  [ "$(window_tool count '#32770')" = 1 ] || fail "a second manager dialog is open"
  [ "$(window_tool visible '#32770')" = 1 ] || fail "the first manager's dialog is gone"

  # 退出 with nothing changed ends the program without a question.
  window_tool post '#32770' 0x111 1 0 >/dev/null  # WM_COMMAND IDOK
fi
for _ in $(seq 100); do kill -0 "$manager_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$manager_pid" 2>/dev/null && fail "the manager did not end after 退出"
wait "$manager_pid" 2>/dev/null
[ "$(iconv -f gbk -t utf-8 "$words" | head -1 | tr -d '\r')" = 沃岚输入法 ] ||
  fail "the word file changed without a save"

end_checks "screenshot $out/tvimedic.png"
