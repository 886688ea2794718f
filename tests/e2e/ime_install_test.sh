#!/usr/bin/env bash
# tvime30.ime as an installed input method, end to end, in a Wine prefix of its own: tvimeist
# registers it, an editor activates its layout, real X pointer clicks on the module's own panel
# type into the editor's edit control, and tvimeist removes it again; regsvr32 does the same
# through the module's own registration functions.
#   ime_install_test.sh WINE_RUN PREFIX BIN_DIR OUTPUT_DIR
# Needs DISPLAY (an Xvfb server without a window manager).
set -uo pipefail
wine_run=$1 prefix=$2 bin=$3 out=$4
mkdir -p "$out"
run_seconds=120
source "$(dirname "$0")/gui_driver.sh"
source "$(dirname "$0")/checks.sh"
source "$(dirname "$0")/ime_driver.sh"

trap 'stop_editor; WINEPREFIX="$prefix" wineserver -k 2>/dev/null' EXIT

# The module reports no layout. After 中 its follow-on list starts with 国, and the first item of
# the list starts at the strip's left edge whatever the width of its text.
type_guo() { click_panel 16 40; }

installer() { "$wine_run" --prefix "$prefix" "$bin/tvimeist.exe" "$@" >/dev/null 2>&1; }

# A prefix left by an earlier run may still hold registrations.
for _ in 1 2 3 4 5; do
  [ -z "$(our_layouts)" ] && break
  installer uninstall
done
mkdir -p "$prefix/drive_c/windows/system32"
cp "$bin/tvime30.ime" "$prefix/drive_c/windows/system32/tvime30.ime"

# Installing: exit code 1, a layout naming the module under the default text.
installer
status=$?
[ "$status" = 1 ] || fail "tvimeist exited with $status instead of 1 after installing"
registered=$(our_layouts)
layout=${registered%%|*}
[ "$(echo "$registered" | grep -c .)" = 1 ] || fail "expected one registered layout, found: '$registered'"
[ "${registered#*|}" = "中文-沃岚鼠标输入法3.1" ] || fail "the layout text is '${registered#*|}'"

# The user's list of layouts: ours after another one (Wine keeps value 1 for itself).
wine_quiet reg add "$preload_key" /v 5 /t REG_SZ /d 00000409 /f
wine_quiet reg add "$preload_key" /v 6 /t REG_SZ /d "$layout" /f

# A stand-in for the system's language indicator, which the input method tells its state.
indicator_log="$out/indicator.log"
TVIME_WINE_TIMEOUT=60 "$wine_run" --prefix "$prefix" "$bin/tvime-window-tool.exe" indicator 40 \
  >"$indicator_log" 2>/dev/null &
indicator_pid=$!
for _ in $(seq 150); do [ "$(window_tool count Indicator)" = 1 ] && break; sleep 0.1; done
[ "$(window_tool count Indicator)" = 1 ] || fail "the stand-in language indicator did not start"

# An editor whose thread uses the input method; clicks on the module's panel type into it.
prepare_settings 600 300
start_editor --layout "$layout" || { echo "FAIL: the editor did not start"; cat "$out/editor.out"; exit 1; }
wait_for_line "$editor_events" "^layout $layout" || fail "the editor could not activate layout $layout"
wait_for_panel
if [ "$panel_x" = none ]; then
  fail "the module's composition panel did not show"
else
  [ "$panel_x $panel_y" = "600 300" ] || fail "the panel is at $panel_x,$panel_y, not at the stored 600,300"
  [ "$(window_tool visible TavrinIME3_STATUS)" = 1 ] || fail "the status bar did not show"
  type_zhong
  wait_for_text "中" || fail "the editor did not receive 中 (it has '$(cat "$editor_text")')"
  type_guo
  wait_for_text "中国" || fail "the follow-on 国 did not arrive (the editor has '$(cat "$editor_text")')"
  screenshot "$out/tvime30-panel.png"
  if grep -q "^foreground\|^focus-lost" "$editor_events"; then
    fail "the editor lost the foreground or the focus while the panel was clicked"
  fi
fi
stop_editor

# An ANSI program gets the same text through the ANSI side of the input context.
start_editor --ansi --layout "$layout" || fail "the ANSI editor did not start"
wait_for_panel
if [ "$panel_x" = none ]; then
  fail "the module's panel did not show for the ANSI editor"
else
  type_zhong
  wait_for_text "中" || fail "the ANSI editor did not receive 中 (it has '$(cat "$editor_text")')"
fi
stop_editor

window_tool post Indicator 0x10 0 0 >/dev/null  # WM_CLOSE; its report is complete at its end
wait "$indicator_pid" 2>/dev/null
# Open: its own icon, its tooltip, no default menu items; all for its own layout.
grep -q "^464 1 $layout" "$indicator_log" || fail "the indicator was not shown the open icon: $(tr '\n' ' ' <"$indicator_log")"
grep -q "^465 [0-9a-f]* $layout 沃岚鼠标输入法 3.1" "$indicator_log" || fail "the indicator did not get the tooltip"
grep -q "^466 1 $layout" "$indicator_log" || fail "the indicator's default menu items were not removed"

# Removing: the layout, its key and its Preload value go; the other Preload value keeps its name.
installer uninstall
status=$?
[ "$status" = 1 ] || fail "tvimeist uninstall exited with $status instead of 1"
[ -z "$(our_layouts)" ] || fail "the layout is still registered after uninstall: $(our_layouts)"
[ -z "$(preload_value 6)" ] || fail "the Preload value of the layout is still there"
[ "$(preload_value 5)" = 00000409 ] || fail "the other Preload value was changed"
installer uninstall
status=$?
[ "$status" = 1 ] || fail "a second uninstall exited with $status instead of 1"

# The action word is compared with its case: UNINSTALL installs.
installer UNINSTALL
[ -n "$(our_layouts)" ] || fail "UNINSTALL in capitals did not install"
installer uninstall
[ -z "$(our_layouts)" ] || fail "the layout installed by UNINSTALL could not be removed"

# The module registers and removes itself through regsvr32 as well.
"$wine_run" --prefix "$prefix" regsvr32 /s 'C:\windows\system32\tvime30.ime' >/dev/null 2>&1
status=$?
[ -n "$(our_layouts)" ] || fail "regsvr32 did not register the module"
[ "$status" = 0 ] || fail "regsvr32 exited with $status after registering"
"$wine_run" --prefix "$prefix" regsvr32 /u /s 'C:\windows\system32\tvime30.ime' >/dev/null 2>&1
status=$?
[ -z "$(our_layouts)" ] || fail "regsvr32 /u did not remove the module's layout"
[ "$status" = 0 ] || fail "regsvr32 /u exited with $status after removing"

end_checks "screenshot $out/tvime30-panel.png"
