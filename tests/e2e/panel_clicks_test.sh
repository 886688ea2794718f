#!/usr/bin/env bash
# The panels on screen, clicked as a user clicks them: real X pointer events under Xvfb reach the
# Windows program under Wine, and what the program would hand to an application is checked. A
# screenshot of each panel is compared with its reference, made with the prefix's declared fonts.
#   panel_clicks_test.sh WINE_RUN PREFIX PANEL_HOST_EXE REFERENCE_DIR OUTPUT_DIR
# With TVIME_UPDATE_REFERENCES=1 a screenshot that differs from its reference replaces it, and the
# script says which (scripts/update-references.sh).
# Needs DISPLAY (an Xvfb server without a window manager).
set -uo pipefail
wine_run=$1 prefix=$2 host_exe=$3 references=$4 out=$5
mkdir -p "$out"
log="$out/panel-host.log"
layout="$out/panel-host.layout"
rm -f "$log" "$layout" "$out"/*.png
source "$(dirname "$0")/checks.sh"

windows_path() { echo "Z:${1//\//\\}"; }

# Waits until the log has a line matching the pattern; false after 5 s.
wait_for() {
  for _ in $(seq 50); do
    grep -q -- "$1" "$log" 2>/dev/null && return 0
    sleep 0.1
  done
  return 1
}

# A click at client coordinates of the composition window; press and release are separate, as a
# person's are.
click() {
  xdotool mousemove $((origin_x + $1)) $((origin_y + $2))
  sleep 0.15
  xdotool mousedown 1
  sleep 0.1
  xdotool mouseup 1
  sleep 0.4
}

stroke() {  # stroke button i
  click $((7 + ($1 % 5) * 25 + 10)) $((81 + ($1 / 5) * 25 + 10))
}

# Clicks the shown item whose label is $1 (from the layout the program writes).
click_label() {
  local line
  for _ in $(seq 20); do
    line=$(awk -v label="$1" '$7 == label { print; exit }' "$layout" 2>/dev/null)
    [ -n "$line" ] && break
    sleep 0.1
  done
  if [ -z "$line" ]; then
    fail "no item labelled $1 on the panel"
    return
  fi
  read -r _ _ left top right bottom _ <<<"$line"
  click $(((left + right) / 2)) $(((top + bottom) / 2))
}

# Screenshot of a screen area (the pointer moved away first) compared with the reference.
shot_area() {  # NAME GEOMETRY
  xdotool mousemove 5 5
  sleep 0.6
  import -window root -crop "$2" +repage "$out/$1.png"
  local reference="$references/$1.png" differing=new
  if [ -f "$reference" ]; then
    differing=$(compare -metric AE "$reference" "$out/$1.png" /dev/null 2>&1 | cut -d' ' -f1)
    [ "${differing:-1}" = "0" ] && return
  fi
  if [ "${TVIME_UPDATE_REFERENCES:-0}" = 1 ]; then
    cp "$out/$1.png" "$reference"
    echo "reference changed: $1.png ($differing pixels differed)"
  elif [ "$differing" = new ]; then
    fail "no reference $reference (the new screenshot is $out/$1.png)"
  else
    fail "$1.png differs from the reference in $differing pixels"
  fi
}

shot() { shot_area "panel-$1" "290x156+$origin_x+$origin_y"; }

"$wine_run" --prefix "$prefix" "$host_exe" "$(windows_path "$log")" \
  "$(windows_path "$layout")" --seconds 90 >"$out/panel-host.out" 2>&1 &
host=$!
trap 'kill $host 2>/dev/null' EXIT
if ! wait_for "^ready"; then
  echo "FAIL: the panel host did not start"; cat "$out/panel-host.out"; exit 1
fi
read -r _ origin_x origin_y < <(grep "^ready" "$log" | tr -d '\r')

shot idle
# The status window, never placed before: near the bottom-left of the work area (the screen).
shot_area status "206x26+10+$(($(xdpyinfo | awk '/dimensions/ { split($2, d, "x"); print d[2] }') - 31))"
# 竖 折 横 竖, then the first candidate: 中.
for i in 1 4 0 1; do stroke "$i"; done
shot strokes
click 16 40
wait_for "^text 中$" || fail "a click on the first candidate did not type 中"
shot association
# The follow-on list shows 国 for 中国; a click on it types only 国.
click_label "国"
wait_for "^text 国$" || fail "a click on the follow-on 国 did not type 国"

# The letter panel stays after a click; the punctuation panel returns to the strokes.
click 277 119  # 输入字母
shot letters
click_label "a"
wait_for "^text a$" || fail "the letter panel did not type a"
click 277 139  # 输入标点
shot punctuation
click_label "，"
wait_for "^text ，$" || fail "the punctuation panel did not type ，"
# Pinyin: b a n, then the first candidate.
click 239 14  # 笔画/拼音
click_label "b"
click_label "a"
click_label "n"
shot pinyin
click 16 40
wait_for "^text " || true
grep -q "^text [办半班板版般]$" "$log" || fail "pinyin b a n did not type a ban character"

kill $host 2>/dev/null
wait $host 2>/dev/null

# A soft keyboard, clicked: without a system soft keyboard our own window shows the table.
rm -f "$log"
"$wine_run" --prefix "$prefix" "$host_exe" "$(windows_path "$log")" \
  "$(windows_path "$layout")" --mode keyboard --seconds 60 >"$out/panel-host.out" 2>&1 &
host=$!
if wait_for "^ready" && grep -q "^keyboard" "$log"; then
  read -r _ origin_x origin_y < <(grep "^keyboard" "$log" | tr -d '\r')
  shot_area keyboard "359x160+$origin_x+$origin_y"
  click 29 60            # Q: ｑ
  click 40 140           # Shift
  click 42 34            # 1 with Shift: ！
  wait_for "^text ！$" || true
  grep -q "^text ｑ$" "$log" || fail "the soft keyboard's Q did not type ｑ"
  grep -q "^text ！$" "$log" || fail "the soft keyboard's Shift and 1 did not type ！"
else
  fail "the soft keyboard window did not show"
fi
kill $host 2>/dev/null

end_checks "screenshots in $out"
