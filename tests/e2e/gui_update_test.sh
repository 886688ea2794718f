#!/usr/bin/env bash
# Updates end to end, against the test server (tests/update/serve.sh), in an installation folder
# of their own:
# - tvimegui, older than the published one, asks at its start, updates itself and starts again;
#   with its check time fresh it starts without asking anything;
# - 词库维护 without a manager offers to fetch it: a tampered one is refused, a signed one is put
#   into the installation while the download dialog shows;
# - a silent tvimeup brings the installed manager and the input-method module up to the published
#   versions and announces each with its notification.
# Keeps screenshots of the download dialog and of the notification.
#   gui_update_test.sh WINE_RUN PREFIX BIN_DIR OUTPUT_DIR
# Needs DISPLAY (an Xvfb server without a window manager) and TVIME_UPDATE_SERVER_ROOT.
set -uo pipefail
wine_run=$1 prefix=$2 bin=$3 out=$4
mkdir -p "$out"
run_seconds=200
source "$(dirname "$0")/gui_driver.sh"
source "$(dirname "$0")/checks.sh"
source "$(dirname "$0")/../update/file_version.sh"

root=$TVIME_UPDATE_SERVER_ROOT
port=$(cat "$root/port")
machine_key='HKLM\Software\Tavrin\tvime3.0\Settings'
title_of_box="沃岚鼠标输入法 3.1"  # the programs' boxes
title_of_question="沃岚鼠标输入法"  # the update agent's question
installation=$(mktemp -d /tmp/tvime-installation.XXXXXX)
system32="$prefix/drive_c/windows/system32"
installed_gui=

server() { echo "http://127.0.0.1:$port/$1/updates/"; }
requests() { grep -c "$1" "$root/logs/access.log"; }
box_title() { window_tool title '#32770' | tr -d '\r'; }

# Waits until a box (class #32770) with the caption shows; false after 20 s.
wait_for_box() {  # CAPTION
  for _ in $(seq 200); do
    [ "$(box_title)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

cleanup() {
  if [ -n "$installed_gui" ]; then
    window_tool post "$gui_class" 0x111 105 0 >/dev/null  # WM_COMMAND 退出
    sleep 1
  fi
  wine_quiet reg delete "$machine_key" /v Path /f
  wine_quiet reg delete "$machine_key" /v UpdateBaseUrl /f
  rm -f "$system32/tvime30.ime" "$system32/tvimetsf.dll" "$prefix/drive_c/windows/syswow64/tvime30.ime"
  rm -rf "$installation"
}
trap cleanup EXIT

prepare_settings 520 40
wine_quiet reg add "$machine_key" /v Path /d "$(windows_path "$installation")" /f

# --- a check due at the start never holds up the panel, even against a server that never
# answers ---
silent_port_file="$out/silent-port.txt"
rm -f "$silent_port_file"
"$wine_run" --prefix "$prefix" "$bin/tvime-silent-server.exe" "$(windows_path "$silent_port_file")" \
  60 >/dev/null 2>&1 &
silent_server=$!
if wait_for_line "$silent_port_file" "[0-9]"; then
  silent_port=$(tr -d '\r\n' <"$silent_port_file")
  wine_quiet reg add "$machine_key" /v UpdateBaseUrl /d "http://127.0.0.1:$silent_port/updates/" /f
  wine_quiet reg add "$settings_key" /v GUIApp.Update /t REG_DWORD /d 0 /f
  if start_gui; then
    first_window_us=$(awk '$2 == "program-start" { start = $1 } $2 == "panel-top" { print $1 - start }' \
                        "$gui_trace" | tr -d '\r' | tail -1)
    echo "a silent update server: the panel showed ${first_window_us} us after the start"
    [ "$first_window_us" -lt 1000000 ] ||
      fail "with a silent update server the panel took ${first_window_us} us to show"
    stop_gui
  else
    fail "with a silent update server tvimegui showed no panel"
  fi
else
  fail "the silent server did not start"
fi
kill "$silent_server" 2>/dev/null

# --- tvimegui updates itself at its start ---
cp "$bin/tvimegui.exe" "$installation/tvimegui.exe"
set_file_version "$installation/tvimegui.exe" 3 0
wine_quiet reg add "$machine_key" /v UpdateBaseUrl /d "$(server good)" /f
wine_quiet reg add "$settings_key" /v GUIApp.Update /t REG_DWORD /d 0 /f
wine_quiet reg add "$settings_key" /v GUIApp.UpdateDisableAuto /t REG_DWORD /d 0 /f
"$wine_run" --prefix "$prefix" "$installation/tvimegui.exe" >"$out/update-gui.out" 2>&1 &
installed_gui=$!
if wait_for_box "$title_of_question"; then
  window_tool post '#32770' 0x111 6 0  # IDYES: update now
  for _ in $(seq 200); do
    cmp -s "$installation/tvimegui.exe" "$root/good/updates/tvimegui.exe" && break
    sleep 0.1
  done
  cmp -s "$installation/tvimegui.exe" "$root/good/updates/tvimegui.exe" ||
    fail "the published tvimegui.exe did not take the installed one's place"
  # "软件更新成功": once confirmed, the program starts again from the updated file.
  if wait_for_box "$title_of_box"; then
    window_tool post '#32770' 0x111 1 0
  else
    fail "tvimegui did not say that it was updated"
  fi
  # The old copy ends; its panel must not stand for the new one's.
  for _ in $(seq 100); do kill -0 "$installed_gui" 2>/dev/null || break; sleep 0.1; done
  for _ in $(seq 100); do [ "$(window_tool visible "$panel_class")" = "1" ] && break; sleep 0.1; done
  [ "$(window_tool visible "$panel_class")" = "1" ] || fail "the updated tvimegui did not start again"
else
  fail "tvimegui did not ask to update at its start (the box showed '$(box_title)')"
fi

# Started again with the check time fresh: no question, and no request to the server.
window_tool post "$gui_class" 0x111 105 0 >/dev/null
for _ in $(seq 50); do [ "$(window_tool count "$gui_class")" = "0" ] && break; sleep 0.1; done
manifest_requests=$(requests 'tvimegui.exe.txt')
"$wine_run" --prefix "$prefix" "$installation/tvimegui.exe" >"$out/update-gui2.out" 2>&1 &
installed_gui=$!
for _ in $(seq 100); do [ "$(window_tool visible "$panel_class")" = "1" ] && break; sleep 0.1; done
[ "$(window_tool visible "$panel_class")" = "1" ] || fail "tvimegui did not start a second time"
[ "$(box_title)" = "none" ] || fail "with a fresh check time tvimegui still showed '$(box_title)'"
[ "$(requests 'tvimegui.exe.txt')" = "$manifest_requests" ] ||
  fail "with a fresh check time tvimegui still asked the server"

# --- 词库维护 fetches a missing manager, signed only ---
fetch_manager() {  # SERVER_CASE
  wine_quiet reg add "$machine_key" /v UpdateBaseUrl /d "$(server "$1")" /f
  window_tool post "$panel_class" 0x111 40026 0
  wait_for_box "$title_of_box" && window_tool post '#32770' 0x111 6 0  # IDYES: download
}
if fetch_manager tampered; then
  sleep 3
  [ -e "$installation/tvimedic.exe" ] && fail "a tampered manager was put into the installation"
else
  fail "词库维护 without a manager did not offer to fetch it"
fi
if fetch_manager slow; then
  # 1 MB/s: the download dialog shows for a few seconds.
  for _ in $(seq 50); do [ "$(box_title)" = "文件更新进度" ] && break; sleep 0.1; done
  sleep 1.5
  import -window root "$out/download-dialog.png"
  for _ in $(seq 300); do [ -e "$installation/tvimedic.exe" ] && break; sleep 0.1; done
  cmp -s "$installation/tvimedic.exe" "$root/good/updates/tvimedic.exe" ||
    fail "the fetched manager is not the published one"
else
  fail "the second 词库维护 did not offer to fetch the manager"
fi
ls "$installation" | grep -q '\.download$' && fail "a download was left in the installation"
window_tool post "$gui_class" 0x111 105 0 >/dev/null
sleep 1
installed_gui=

# --- tvimedic opens at once; a tampered manager on the server is refused with its reason ---
# The manager fetched above was started by 词库维护: it ends first, as a user would end it.
window_tool post '#32770' 0x111 1 0 >/dev/null  # 退出
for _ in $(seq 50); do [ "$(window_tool count '#32770')" = 0 ] && break; sleep 0.1; done
cp "$bin/tvimedic.exe" "$installation/tvimedic.exe"  # version 1.0
wine_quiet reg add "$machine_key" /v UpdateBaseUrl /d "$(server tampered)" /f
"$wine_run" --prefix "$prefix" "$installation/tvimedic.exe" >"$out/update-dic.out" 2>&1 &
manager=$!
if wait_for_box "$title_of_question"; then
  [ "$(window_tool count '#32770')" = 2 ] ||
    fail "the refusal was not shown over the open manager ($(window_tool count '#32770') boxes)"
  import -window root "$out/update-refused.png"
  window_tool post '#32770' 0x111 1 0 >/dev/null  # IDOK on the refusal
  for _ in $(seq 50); do [ "$(window_tool count '#32770')" = 1 ] && break; sleep 0.1; done
  [ "$(window_tool count '#32770')" = 1 ] || fail "the manager did not go on after the refusal"
  window_tool post '#32770' 0x111 1 0 >/dev/null  # 退出
else
  import -window root "$out/update-refused.png"
  fail "tvimedic did not say why it refused the tampered manager (the box showed '$(box_title)')"
  window_tool post '#32770' 0x111 1 0 >/dev/null
fi
for _ in $(seq 100); do kill -0 "$manager" 2>/dev/null || break; sleep 0.1; done
cmp -s "$installation/tvimedic.exe" "$bin/tvimedic.exe" || fail "a tampered manager was installed"

# --- a silent tvimeup updates the manager, the module and the text service, and says so ---
cp "$bin/tvimedic.exe" "$installation/tvimedic.exe"  # version 1.0
cp "$bin/tvime30.ime" "$system32/tvime30.ime"          # version 3.1; 3.2 is published
cp "$bin/tvimetsf.dll" "$system32/tvimetsf.dll"        # the same
syswow64="$prefix/drive_c/windows/syswow64"
if [ -f "$root/next/x86-installed" ]; then
  cp "$root/next/x86-installed" "$syswow64/tvime30.ime"  # the 32-bit module, 3.1
else
  fail "the 32-bit module is not published: build the win32 preset before these tests"
fi
wine_quiet reg add "$machine_key" /v UpdateBaseUrl /d "$(server next)" /f
wine_quiet reg add "$machine_key" /v Exec.Update /t REG_DWORD /d 0 /f
"$wine_run" --prefix "$prefix" "$bin/tvimeup.exe" >"$out/tvimeup.out" 2>&1 &
updater=$!
for _ in $(seq 100); do
  [ "$(window_tool visible StatusBarMsgWndClass)" = "1" ] && break
  sleep 0.1
done
sleep 3  # slid out (90 pixels, one a step)
import -window root "$out/notification.png"
for _ in $(seq 600); do kill -0 "$updater" 2>/dev/null || break; sleep 0.1; done
kill -0 "$updater" 2>/dev/null && fail "tvimeup did not end"
cmp -s "$installation/tvimedic.exe" "$root/good/updates/tvimedic.exe" ||
  fail "tvimeup did not update the installed manager"
cmp -s "$system32/tvime30.ime" "$root/next/updates/tvime30.ime" ||
  fail "tvimeup did not update the input-method module"
cmp -s "$system32/tvimetsf.dll" "$root/next/updates/tvimetsf.dll" ||
  fail "tvimeup did not update the text service"
cmp -s "$syswow64/tvime30.ime" "$root/next/updates-x86/tvime30.ime" ||
  fail "tvimeup did not update the 32-bit module in SysWOW64 from the 32-bit folder"
exec_update=$("$wine_run" --prefix "$prefix" reg query "$machine_key" \
                /v Exec.Update 2>/dev/null | awk '/Exec.Update/ { print $3 }' | tr -d '\r')
[ -n "$exec_update" ] && [ "$((exec_update))" -gt 0 ] || fail "tvimeup did not note its run"

end_checks "screenshots $out/download-dialog.png, $out/notification.png, $out/update-refused.png"
