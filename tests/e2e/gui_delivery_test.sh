#!/usr/bin/env bash
# tvimegui typing into another application, end to end: the real program under Wine, a target
# editor with a focused edit control (a Unicode and an ANSI window), real X pointer clicks on the
# panel. Checks the licence agreement at the first start, the text that arrives, that the editor
# keeps the foreground, the single instance, the tray icon's callback and menu, the exit question
# and the warning box of a command the program does not offer; the news line fed by the test
# server and opened in a stand-in browser, and the about dialog; reports the click-to-text latency
# and keeps screenshots.
#   gui_delivery_test.sh WINE_RUN PREFIX BIN_DIR OUTPUT_DIR
# Needs DISPLAY (an Xvfb server without a window manager), and in the environment
# TVIME_UPDATE_SERVER_ROOT (the test server's folder), TVIME_BROWSER and TVIME_BROWSER_LOG (the
# stand-in browser and the file it writes).
set -uo pipefail
wine_run=$1 prefix=$2 bin=$3 out=$4
mkdir -p "$out"
run_seconds=200
source "$(dirname "$0")/gui_driver.sh"
source "$(dirname "$0")/checks.sh"

machine_key='HKLM\Software\Tavrin\tvime3.0\Settings'
trap 'stop_gui; stop_editor; wine_quiet reg delete "$machine_key" /v ProductSite /f' EXIT

# True once the editor has the foreground again (its last foreground event names its window);
# false after 5 s.
wait_for_editor_in_front() {
  for _ in $(seq 50); do
    [ "$(awk '$1 == "foreground" { w = $2 } END { print w }' "$editor_events" | tr -d '\r')" = "$editor_window" ] &&
      return 0
    sleep 0.1
  done
  return 1
}

# Until the licence is accepted once, the agreement comes first; declining it ends the program
# before any window of its own exists.
wine_quiet reg add "$settings_key" /v NoShowLicense3.1 /t REG_DWORD /d 0 /f
"$wine_run" --prefix "$prefix" "$bin/tvimegui.exe" >/dev/null 2>&1 &
declined_pid=$!
for _ in $(seq 100); do [ "$(window_tool visible '#32770')" = "1" ] && break; sleep 0.1; done
if [ "$(window_tool visible '#32770')" = "1" ]; then
  [ "$(window_tool count "$gui_class")" = "0" ] || fail "the main window exists before the licence is accepted"
  window_tool post '#32770' 0x111 2 0  # IDCANCEL: 不同意
  for _ in $(seq 50); do kill -0 "$declined_pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$declined_pid" 2>/dev/null && fail "declining the licence did not end the program"
else
  fail "the licence agreement did not show at the first start"
fi
kill "$declined_pid" 2>/dev/null
wait "$declined_pid" 2>/dev/null

prepare_settings 520 40
# The news comes from the test server's feed (the ad server is the product site); pages go to the
# stand-in browser.
port=$(cat "$TVIME_UPDATE_SERVER_ROOT/port")
wine_quiet reg add "$machine_key" /v ProductSite /d "http://127.0.0.1:$port/feed/" /f
wine_quiet reg add "$settings_key" /v NetAds.Update /t REG_DWORD /d 0 /f
wine_quiet reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "$TVIME_BROWSER" /f
rm -f "$TVIME_BROWSER_LOG"
find "$prefix/drive_c/users" -path '*/tvime/netads.txt' -delete 2>/dev/null
start_editor || { echo "FAIL: the editor did not start"; cat "$out/editor.out"; exit 1; }
editor_window=$(awk '$1 == "ready" { print $2 }' "$editor_events" | tr -d '\r')
start_gui || { echo "FAIL: tvimegui did not start"; cat "$out/tvimegui.out"; exit 1; }

# Unicode target: 中, then the follow-on 国 and the phrase 人民 after it.
type_zhong
wait_for_text "中" || fail "the Unicode editor did not receive 中 (it has '$(cat "$editor_text")')"
type_guo
wait_for_text "中国" || fail "the follow-on 国 did not arrive (the editor has '$(cat "$editor_text")')"
type_renmin
wait_for_text "中国人民" || fail "the follow-on phrase 人民 did not arrive (the editor has '$(cat "$editor_text")')"
grep -q "^language " "$editor_events" || fail "no input-language request reached the editor"
screenshot "$out/tvimegui.png"
# Clicking the panel never took the foreground or the focus from the editor.
if grep -q "^foreground\|^focus-lost" "$editor_events"; then
  fail "the editor lost the foreground or the focus: $(grep '^foreground\|^focus-lost' "$editor_events" | tr '\n' ' ')"
fi

# The background service fetched the feed at the start; the news line shows it, and a click on
# its text opens the entry's page with the user's identifier.
feed=
for _ in $(seq 100); do
  feed=$(find "$prefix/drive_c/users" -path '*/tvime/netads.txt' 2>/dev/null | head -n 1)
  [ -n "$feed" ] && grep -q second "$feed" && break
  sleep 0.1
done
[ -n "$feed" ] && grep -q second "$feed" || fail "the news feed was not downloaded into the user's folder"
sleep 1.5  # the line repaints at its next tick
click_panel 20 142
# (Wine's shell hands the browser the braces of the identifier escaped.)
if wait_for_line "$TVIME_BROWSER_LOG" 'ad\.php?id=1[123]&userid=\(%7B\|{\)'; then
  echo "news page opened: $(head -n 1 "$TVIME_BROWSER_LOG")"
else
  fail "a click on the news line opened no page ($(cat "$TVIME_BROWSER_LOG" 2>/dev/null))"
fi
screenshot "$out/tvimegui-news.png"

# A right click on the follow-on phrase 大学 opens the product site's explanation of the whole
# phrase it stands for, 中国人民大学 (UTF-8); the Search button searches the last word chosen,
# 中国人民, with the chosen engine (Baidu, GBK).
if right_click_item 大学; then
  wait_for_line "$TVIME_BROWSER_LOG" \
    '/feed/netads/searchword\.php?s=%E4%B8%AD%E5%9B%BD%E4%BA%BA%E6%B0%91%E5%A4%A7%E5%AD%A6&userid=' ||
    fail "a right click on 大学 did not open its explanation ($(tail -n 1 "$TVIME_BROWSER_LOG"))"
else
  fail "大学 was not offered after 中国人民"
fi
click_panel 219 14
wait_for_line "$TVIME_BROWSER_LOG" '^https://www\.baidu\.com/s?ie=gbk&word=%D6%D0%B9%FA%C8%CB%C3%F1$' ||
  fail "the Search button did not search 中国人民 ($(tail -n 1 "$TVIME_BROWSER_LOG"))"

# The tray menu's 关于 shows the about dialog with its crawl; 关闭 closes it.
window_tool post "$gui_class" 0x111 32771 0
for _ in $(seq 50); do [ "$(window_tool visible '#32770')" = "1" ] && break; sleep 0.1; done
if [ "$(window_tool visible '#32770')" = "1" ]; then
  sleep 2  # the first lines come up over the stars
  import -window root "$out/about.png"
  window_tool post '#32770' 0x111 1 0
  for _ in $(seq 50); do [ "$(window_tool visible '#32770')" != "1" ] && break; sleep 0.1; done
  [ "$(window_tool visible '#32770')" != "1" ] || fail "关闭 did not close the about dialog"
else
  fail "the tray menu's about command showed no dialog"
fi
# Its 用户反馈 opens the product site and closes it; 帮助 opens the site's help page.
window_tool post "$panel_class" 0x111 40005 0
for _ in $(seq 50); do [ "$(window_tool visible '#32770')" = "1" ] && break; sleep 0.1; done
window_tool post '#32770' 0x111 1301 0
wait_for_line "$TVIME_BROWSER_LOG" "^http://127.0.0.1:$port/feed/\$" ||
  fail "用户反馈 did not open the product site ($(tail -n 1 "$TVIME_BROWSER_LOG"))"
for _ in $(seq 50); do [ "$(window_tool visible '#32770')" != "1" ] && break; sleep 0.1; done
[ "$(window_tool visible '#32770')" != "1" ] || fail "用户反馈 did not close the about dialog"
wait_for_editor_in_front || fail "the editor did not get the foreground back after the about dialog"
window_tool post "$panel_class" 0x111 40003 0
wait_for_line "$TVIME_BROWSER_LOG" "^http://127.0.0.1:$port/feed/help/\$" ||
  fail "帮助 did not open the help page ($(tail -n 1 "$TVIME_BROWSER_LOG"))"

# A second start ends at once and leaves one program with one main window.
"$wine_run" --prefix "$prefix" "$bin/tvimegui.exe" >/dev/null 2>&1 || true
[ "$(window_tool count "$gui_class")" = "1" ] || fail "a second start left $(window_tool count "$gui_class") main windows"
kill -0 "$gui_pid" 2>/dev/null || fail "the first instance ended when a second was started"

# The tray icon's left click hides the panel and shows it again.
window_tool send "$gui_class" 0x40A 0 0x201 >/dev/null  # WM_LBUTTONDOWN
[ "$(window_tool visible "$panel_class")" = "0" ] || fail "a left click on the tray icon did not hide the panel"
window_tool send "$gui_class" 0x40A 0 0x201 >/dev/null
[ "$(window_tool visible "$panel_class")" = "1" ] || fail "a second left click on the tray icon did not show the panel"

# "选中词语造词" is not offered: a warning box, and the editor is in front again afterwards.
window_tool post "$panel_class" 0x111 40049 0
for _ in $(seq 50); do [ "$(window_tool visible '#32770')" = "1" ] && break; sleep 0.1; done
if [ "$(window_tool visible '#32770')" = "1" ]; then
  window_tool post '#32770' 0x111 1 0  # IDOK
  wait_for_editor_in_front || fail "the editor did not get the foreground back after the warning box"
else
  fail "the user-word command did not show its warning box"
fi
# The panel's close item asks first; No keeps the program running.
window_tool post "$panel_class" 0x111 10007 0
for _ in $(seq 30); do [ "$(window_tool visible '#32770')" = "1" ] && break; sleep 0.1; done
if [ "$(window_tool visible '#32770')" = "1" ]; then
  window_tool post '#32770' 0x111 7 0  # IDNO
  sleep 1
  kill -0 "$gui_pid" 2>/dev/null || fail "No to the exit question ended the program"
else
  fail "the panel's close item did not ask before ending the program"
fi

# The tray icon's right click opens its menu at the bottom-right corner; its last item, 退出,
# ends the program.
window_tool post "$gui_class" 0x40A 0 0x204  # WM_RBUTTONDOWN
sleep 1
read -r screen_width screen_height < <(xdpyinfo | awk '/dimensions/ { split($2, d, "x"); print d[1], d[2] }')
if read -r menu_left _ menu_right menu_bottom < <(window_tool rect '#32768' | tr -d '\r') &&
   [ "$menu_right" -gt $((screen_width - 30)) ] && [ "$menu_bottom" -gt $((screen_height - 30)) ]; then
  xdotool mousemove $((menu_left + 40)) $((menu_bottom - 12))
  sleep 0.3
  xdotool mousedown 1 sleep 0.05 mouseup 1
  for _ in $(seq 50); do kill -0 "$gui_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$gui_pid" 2>/dev/null; then
    fail "the tray menu's 退出 did not end the program"
    stop_gui
  else
    gui_pid=
  fi
else
  fail "the tray menu did not open near the bottom-right corner ($(window_tool rect '#32768'))"
  stop_gui
fi
unicode_latencies=$(delivery_latencies)

# ANSI target: the same clicks, the text arrives as double-byte WM_IME_CHAR.
stop_editor
start_editor --ansi || fail "the ANSI editor did not start"
start_gui || fail "tvimegui did not start again"
type_zhong
wait_for_text "中" || fail "the ANSI editor did not receive 中 (it has '$(cat "$editor_text")')"
grep -q "^char [0-9]* 54992$" "$editor_events" || fail "中 did not reach the ANSI editor as WM_IME_CHAR 0xD6D0"
type_guo
wait_for_text "中国" || fail "the ANSI editor did not receive 国 (it has '$(cat "$editor_text")')"
ansi_latencies=$(delivery_latencies)

# Click to text, from the button press and from its release to the editor's first character.
echo "click-to-text (ms, from press and from release), Unicode: $(echo "$unicode_latencies" | tr '\n' ';')"
echo "click-to-text (ms, from press and from release), ANSI: $(echo "$ansi_latencies" | tr '\n' ';')"
worst=$(printf '%s\n%s\n' "$unicode_latencies" "$ansi_latencies" | awk 'NF { if ($2 > w) w = $2 } END { print w + 0 }')
awk -v w="$worst" 'BEGIN { exit !(w < 500) }' || fail "a delivery took ${worst} ms after the click"

end_checks "screenshots $out/tvimegui.png, tvimegui-news.png, about.png"
