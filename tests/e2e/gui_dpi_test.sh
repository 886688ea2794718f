#!/usr/bin/env bash
# tvimegui at other display scales, end to end: one prefix each at 96, 144 and 192 dpi
# (HKCU\Control Panel\Desktop\LogPixels, which Wine reports as the monitor's dpi). At each the
# panel is its 96-dpi layout scaled (290 x 156 times dpi / 96), its screenshot matches the
# reference of that scale, and real X clicks at the places the program reports type 中 into the
# editor; at 144 dpi with the panel size 150 % the panel is 2.25 times as large and still types.
#   gui_dpi_test.sh WINE_RUN PREFIX_BASE BIN_DIR REFERENCES OUTPUT_DIR
# The prefixes are PREFIX_BASE-96, -144 and -192. Needs DISPLAY (Xvfb without a window manager).
# With TVIME_UPDATE_REFERENCES=1 a screenshot that differs from its reference replaces it.
set -uo pipefail
wine_run=$1 prefix_base=$2 bin=$3 references=$4 out_base=$5
run_seconds=120
here=$(dirname "$0")
source "$here/checks.sh"

# Switches the driver to the prefix and output folder of one run.
use_run() {  # DPI NAME
  prefix=$prefix_base-$1
  out=$out_base/$2
  mkdir -p "$out"
  source "$here/gui_driver.sh"
}

# The panel's client size as the program drew it: its window (a popup without a frame).
panel_size() {
  read -r left top right bottom < <(window_tool rect "$panel_class" | tr -d '\r')
  echo "$((right - left))x$((bottom - top))"
}

# The middle of the stroke button of index $1 where the program reports it.
stroke_center() {  # INDEX
  local line left top right bottom
  for _ in $(seq 20); do
    line=$(awk -v v="$1" '$1 == 3 && $2 == v { print; exit }' "$gui_layout" 2>/dev/null)
    [ -n "$line" ] && break
    sleep 0.1
  done
  [ -n "$line" ] || return 1
  read -r _ _ left top right bottom _ <<<"$line"
  echo "$(((left + right) / 2)) $(((top + bottom) / 2))"
}

# The panel's screenshot after the strokes of 中, compared with the reference of its scale.
check_screenshot() {  # NAME WIDTH HEIGHT
  local shot="$out/$1.png" reference="$references/$1.png" differing=new
  xdotool mousemove 5 790
  sleep 0.6
  import -window root -crop "$2x$3+$panel_x+$panel_y" +repage "$shot"
  if [ -f "$reference" ]; then
    differing=$(compare -metric AE "$reference" "$shot" /dev/null 2>&1 | cut -d' ' -f1)
  fi
  [ "$differing" = 0 ] && return 0
  if [ "${TVIME_UPDATE_REFERENCES:-0}" = 1 ]; then
    cp "$shot" "$reference"
    echo "reference changed: $1.png ($differing pixels differed)"
  elif [ "$differing" = new ]; then
    fail "no reference $reference (the new screenshot is $shot)"
  else
    fail "$1.png differs from the reference in $differing pixels"
  fi
}

# One run: the prefix at DPI, the panel size PERCENT; the panel must be WIDTH x HEIGHT and the
# soft keyboard's window KEYBOARD_WIDTH x KEYBOARD_HEIGHT.
run_at() {  # DPI PERCENT WIDTH HEIGHT NAME KEYBOARD_WIDTH KEYBOARD_HEIGHT
  local dpi=$1 percent=$2 width=$3 height=$4 name=$5
  use_run "$dpi" "$name"
  # Wine reads the dpi when its server starts. A new prefix writes the default (96) while it sets
  # itself up, which can land after ours: it is set again until the saved registry holds it.
  local stored
  stored=$(printf '"LogPixels"=dword:%08x' "$dpi")
  for _ in 1 2 3; do
    wine_quiet reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    WINEPREFIX=$prefix wineserver -k 2>/dev/null
    WINEPREFIX=$prefix wineserver -w 2>/dev/null
    grep -qF "$stored" "$prefix/user.reg" && break
  done
  prepare_settings 300 40
  wine_quiet reg add "$settings_key" /v PanelSize /t REG_DWORD /d "$percent" /f
  start_editor || { fail "$name: the editor did not start"; return; }
  if ! start_gui; then
    fail "$name: tvimegui did not start"
    stop_editor
    return
  fi
  local size
  size=$(panel_size)
  [ "$size" = "${width}x${height}" ] || fail "$name: the panel is $size, not ${width}x${height}"
  local center
  for stroke in 1 4 0 1; do
    center=$(stroke_center "$stroke") || { fail "$name: stroke $stroke is not reported"; break; }
    click_panel $center
  done
  check_screenshot "panel-$name" "$width" "$height"
  # The hint of a hovered character, whole in the hint strip (kept for a person to look at).
  center=$(item_center 中) && {
    read -r x y <<<"$center"
    xdotool mousemove $((panel_x + x)) $((panel_y + y))
    sleep 0.6
    import -window root -crop "${width}x${height}+$panel_x+$panel_y" +repage "$out/hint-$name.png"
  }
  click_item 中 || fail "$name: 中 is not offered after its strokes"
  wait_for_text "中" || fail "$name: the editor did not receive 中 (it has '$(cat "$editor_text")')"
  keyboard_at "$name" "$6" "$7"
  [ "$percent" = 100 ] && dialogs_at "$name"
  stop_gui
  stop_editor
  WINEPREFIX=$prefix wineserver -k 2>/dev/null
}

# The soft keyboard (our own window: Wine has none) at the run's scale, as large as the panel
# size makes it; its picture is kept for a person to look at.
keyboard_at() {  # NAME WIDTH HEIGHT
  window_tool post "$panel_class" 0x111 4029 0  # the first symbol table
  for _ in $(seq 50); do [ "$(window_tool rect TvimeSoftKeyboard)" != none ] && break; sleep 0.1; done
  local left top right bottom
  read -r left top right bottom < <(window_tool rect TvimeSoftKeyboard | tr -d '\r')
  if [ -z "$bottom" ]; then
    fail "$1: the soft keyboard did not show"
    return
  fi
  [ "$((right - left))x$((bottom - top))" = "$2x$3" ] ||
    fail "$1: the soft keyboard is $((right - left))x$((bottom - top)), not $2x$3"
  sleep 0.5
  import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
    "$out/keyboard-$1.png"
  window_tool post "$panel_class" 0x111 40043 0  # close it
  sleep 0.3
}

# The settings and about dialogs at the run's scale, kept for a person to look at: their
# templates scale with the dialog font, the crawl with the monitor's dpi.
dialogs_at() {  # NAME
  local entry command name close shot
  for entry in 32772:settings:2 32771:about:1; do  # tray command, dialog, its closing button
    IFS=: read -r command name close <<<"$entry"
    window_tool post "$gui_class" 0x111 "$command" 0
    for _ in $(seq 50); do [ "$(window_tool visible '#32770')" = "1" ] && break; sleep 0.1; done
    if [ "$(window_tool visible '#32770')" != "1" ]; then
      fail "$1: the $name dialog did not show"
      continue
    fi
    sleep 2
    shot="$out/$name-$1.png"
    read -r left top right bottom < <(window_tool rect '#32770' | tr -d '\r')
    import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$shot"
    window_tool post '#32770' 0x111 "$close" 0
    for _ in $(seq 50); do [ "$(window_tool visible '#32770')" != "1" ] && break; sleep 0.1; done
  done
}

trap 'stop_gui; stop_editor' EXIT
run_at 96 100 290 156 dpi96 361 162
run_at 144 100 435 234 dpi144 541 242
run_at 192 100 580 312 dpi192 720 322
run_at 144 150 653 351 dpi144-size150 810 362

end_checks "screenshots $out_base/dpi*/*.png"
