# Drives the stand-alone program under Wine as a person does: a target editor in front, tvimegui's
# panel clicked with real X pointer events. Sourced by the end-to-end test and by the run script.
# The caller sets: wine_run (cmake/wine-run.sh), prefix (the Wine prefix), bin (the directory of
# tvimegui.exe, tvime-target-editor.exe, tvime-window-tool.exe), out (a directory for logs and
# screenshots), and DISPLAY.

settings_key='HKCU\Software\Tavrin\tvime3.0\Settings'
gui_class=TavrinIMEGUIApp30
panel_class=TavrinIME3App_COMP
gui_trace="$out/tvimegui-trace.log"
gui_layout="$out/tvimegui.layout"
editor_text="$out/editor-text.txt"
editor_events="$out/editor-events.log"

windows_path() { echo "Z:${1//\//\\}"; }

wine_quiet() { "$wine_run" --prefix "$prefix" "$@" >/dev/null 2>&1; }

window_tool() { "$wine_run" --prefix "$prefix" "$bin/tvime-window-tool.exe" "$@" 2>/dev/null; }

# Settings for an unattended run: no licence agreement to click through, the panel at a known
# place (left in the low 16 bits, top in the high 16 bits).
prepare_settings() {  # PANEL_LEFT PANEL_TOP
  wine_quiet reg add "$settings_key" /v NoShowLicense3.1 /t REG_DWORD /d 1 /f
  wine_quiet reg add "$settings_key" /v CompPos /t REG_DWORD /d $(($2 * 65536 + $1)) /f
}

# Waits until FILE has a line matching the pattern; false after 10 s.
wait_for_line() {  # FILE PATTERN
  for _ in $(seq 100); do
    grep -q -- "$2" "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# Waits until the editor holds exactly TEXT; false after 5 s.
wait_for_text() {  # TEXT
  for _ in $(seq 50); do
    [ "$(cat "$editor_text" 2>/dev/null)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

# Starts the editor (extra arguments: --ansi) in the foreground; editor_pid is its process.
start_editor() {
  rm -f "$editor_text" "$editor_events"
  TVIME_WINE_TIMEOUT=${run_seconds:-600} "$wine_run" --prefix "$prefix" \
    "$bin/tvime-target-editor.exe" "$(windows_path "$editor_text")" \
    "$(windows_path "$editor_events")" --seconds "${run_seconds:-600}" "$@" \
    >"$out/editor.out" 2>&1 &
  editor_pid=$!
  wait_for_line "$editor_events" "^ready"
}

# Closes the editor as a user would, so that its Wine process is gone before the next start.
stop_editor() {
  [ -n "${editor_pid:-}" ] || return 0
  window_tool post TvimeTargetEditor 0x10 0 0 >/dev/null  # WM_CLOSE
  wait "$editor_pid" 2>/dev/null
  editor_pid=
}

# Starts tvimegui with its timing trace and its layout report; panel_x and panel_y are where its
# panel shows.
start_gui() {
  rm -f "$gui_trace" "$gui_layout"
  TVIME_TRACE=$(windows_path "$gui_trace") TVIME_LAYOUT=$(windows_path "$gui_layout") \
    TVIME_WINE_TIMEOUT=${run_seconds:-600} \
    "$wine_run" --prefix "$prefix" "$bin/tvimegui.exe" >"$out/tvimegui.out" 2>&1 &
  gui_pid=$!
  wait_for_line "$gui_trace" "panel-top" || return 1
  panel_x=$(awk '$2 == "panel-left" { print $3 }' "$gui_trace" | tail -1 | tr -d '\r')
  panel_y=$(awk '$2 == "panel-top" { print $3 }' "$gui_trace" | tail -1 | tr -d '\r')
}

# Ends tvimegui through its tray menu's exit command.
stop_gui() {
  [ -n "${gui_pid:-}" ] || return 0
  window_tool post "$gui_class" 0x111 105 0 >/dev/null  # WM_COMMAND 退出
  wait "$gui_pid" 2>/dev/null
  gui_pid=
}

# A click at panel coordinates: the pointer moves there first, press and release are separate.
click_panel() {  # X Y
  xdotool mousemove $((panel_x + $1)) $((panel_y + $2))
  sleep 0.15
  xdotool mousedown 1 sleep "${click_hold:-0.01}" mouseup 1
  sleep 0.4
}

stroke_button() {  # 0 横, 1 竖, 2 撇, 3 点, 4 折 (first row of the stroke panel)
  click_panel $((17 + $1 * 25)) 91
}

# 竖 折 横 竖 and the first candidate: 中.
type_zhong() {
  for stroke in 1 4 0 1; do stroke_button "$stroke"; done
  click_panel 16 40
}

# The middle of the item labelled $1 where tvimegui reports it, turning the list's pages
# (向后翻) until it shows: the width of list items follows their text, and with it where every
# item after the first sits and how many fit on a page. False when four pages did not show it.
item_center() {  # LABEL
  local line page
  for page in 0 1 2 3; do
    [ "$page" = 0 ] || click_panel 277 99 >&2
    for _ in $(seq 10); do
      line=$(awk -v label="$1" '$7 == label { print; exit }' "$gui_layout" 2>/dev/null)
      [ -n "$line" ] && break
      sleep 0.1
    done
    [ -n "$line" ] && break
  done
  [ -n "$line" ] || return 1
  local left top right bottom
  read -r _ _ left top right bottom _ <<<"$line"
  echo "$(((left + right) / 2)) $(((top + bottom) / 2))"
}

click_item() {  # LABEL
  local center
  center=$(item_center "$1") || return 1
  click_panel $center
}

# A right click (the web look-up of a character or phrase).
right_click_item() {  # LABEL
  local x y
  read -r x y < <(item_center "$1") || return 1
  xdotool mousemove $((panel_x + x)) $((panel_y + y))
  sleep 0.15
  xdotool mousedown 3 sleep 0.01 mouseup 3
  sleep 0.4
}

# After 中 the follow-on list offers 国; after 中国 it offers the phrase 人民.
type_guo() { click_item 国; }
type_renmin() { click_item 人民; }

# Saves the part of the screen with the editor and the panel.
screenshot() {  # FILE
  xdotool mousemove 5 790
  sleep 0.5
  import -window root -crop "$((panel_x + 300))x$((panel_y + 170))+0+0" +repage "$1"
}

# Click-to-text times: for each delivery, from the last button press and release on the panel
# before it to the first character the editor received after it, in milliseconds.
delivery_latencies() {
  cat "$gui_trace" "$editor_events" | tr -d '\r' |
    awk '$2 == "down" || $2 == "up" || $2 == "deliver" { print $1, $2; next }
         $1 == "char" { print $2, "char" }' |
    sort -n |
    awk '$2 == "down" { down = $1 } $2 == "up" { up = $1 } $2 == "deliver" { pending = 1 }
         $2 == "char" && pending { printf "%.1f %.1f\n", ($1 - down) / 1000, ($1 - up) / 1000
                                   pending = 0 }'
}
