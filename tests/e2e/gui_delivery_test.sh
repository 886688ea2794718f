#!/usr/bin/env bash
# tvimegui typing into another application, end to end: the real program under Wine, a target
# editor with a focused edit control (a Unicode and an ANSI window), real X pointer clicks on the
# panel. Checks the licence agreement at the first start, the text that arrives, that the editor
# keeps the foreground, the single instance, the tray icon's callback and menu, the exit question
# and the warning box of a command the program does not offer; reports the click-to-text latency
# and keeps a screenshot.
#   gui_delivery_test.sh WINE_RUN PREFIX BIN_DIR OUTPUT_DIR
# Needs DISPLAY (an Xvfb server without a window manager).
set -uo pipefail
wine_run=$1 prefix=$2 bin=$3 out=$4
mkdir -p "$out"
run_seconds=200
source "$(dirname "$0")/gui_driver.sh"
source "$(dirname "$0")/checks.sh"

trap 'stop_gui; stop_editor' EXIT

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
if wait_for_line "$editor_events" "^foreground" && [ "$(window_tool visible '#32770')" = "1" ]; then
  window_tool post '#32770' 0x111 1 0  # IDOK
  for _ in $(seq 50); do
    [ "$(awk '$1 == "foreground" { w = $2 } END { print w }' "$editor_events" | tr -d '\r')" = "$editor_window" ] && break
    sleep 0.1
  done
  [ "$(awk '$1 == "foreground" { w = $2 } END { print w }' "$editor_events" | tr -d '\r')" = "$editor_window" ] ||
    fail "the editor did not get the foreground back after the warning box"
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

end_checks "screenshot $out/tvimegui.png"
