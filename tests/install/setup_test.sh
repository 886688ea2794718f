#!/usr/bin/env bash
# The setups, end to end, silent (/S), in a fresh 64-bit Wine prefix: setup-x64.exe installs the
# programs, both modules and both text services, the installation's settings, the layout, the
# 64-bit text service's class and Chinese profile (the 32-bit one is registered by the system's
# 32-bit regsvr32, which does not run here), the shortcuts and the uninstall entry; an editor
# then types 中 through the installed module; installing over an older installation upgrades
# it in place with one layout; the uninstaller leaves only the user's data, and neither a second
# uninstall nor an install over a broken one stops half-way.
# setup-x86.exe is checked statically (no 32-bit Wine here): its machine type and its payload.
#   setup_test.sh WINE_RUN PREFIX PACKAGE_DIR BIN64_DIR BIN32_DIR OUTPUT_DIR
# Needs DISPLAY (an Xvfb server without a window manager).
set -uo pipefail
wine_run=$1 prefix=$2 package=$3 bin=$4 bin32=$5 out=$6
mkdir -p "$out"
# Wine is given absolute paths only.
package=$(realpath "$package") bin=$(realpath "$bin") bin32=$(realpath "$bin32") out=$(realpath "$out")
run_seconds=120
here=$(dirname "$0")
source "$here/../e2e/gui_driver.sh"
source "$here/../e2e/checks.sh"
source "$here/../e2e/ime_driver.sh"
source "$here/../update/file_version.sh"

trap 'stop_editor; WINEPREFIX="$prefix" wineserver -k 2>/dev/null' EXIT

drive_c="$prefix/drive_c"
installation="$drive_c/Program Files/Tavrin/tvime"
menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/沃岚鼠标输入法"
system64="$drive_c/windows/system32"
system32="$drive_c/windows/syswow64"
settings_machine='HKLM\Software\Tavrin\tvime3.0\Settings'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\TavrinIME'
programs=(tvimegui.exe tvimedic.exe tvimeup.exe tvimeist.exe)
tsf_class='HKLM\Software\Classes\CLSID\{E74260E4-2E1A-4C81-A8C1-FB3806CC5721}\InprocServer32'
tsf_profile='HKLM\Software\Microsoft\CTF\TIP\{E74260E4-2E1A-4C81-A8C1-FB3806CC5721}\LanguageProfile\0x00000804\{CA5BD6BA-A55D-4580-85FB-B60A3ABFC540}'

machine_of() { x86_64-w64-mingw32-objdump -f "$1" 2>/dev/null | sed -n 's/.*file format //p'; }
reg_value() {  # KEY NAME [/reg:32|/reg:64]
  "$wine_run" --prefix "$prefix" reg query "$1" /v "$2" ${3:-} 2>/dev/null | iconv -f gbk -t utf-8 |
    awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' | tr -d '\r'
}
default_value() {  # KEY: its unnamed value
  "$wine_run" --prefix "$prefix" reg query "$1" /ve 2>/dev/null | iconv -f gbk -t utf-8 |
    awk '/REG_SZ/ { sub(/^.*REG_SZ +/, ""); print }' | tr -d '\r'
}
run_setup() {  # ARGUMENTS...: the setup, waited for
  "$wine_run" --prefix "$prefix" "$package/setup-x64.exe" "$@" >>"$out/setup.log" 2>&1
}
# The uninstaller copies itself away and returns at once: its end is when the folder is gone.
run_uninstaller() {  # PATH OF uninstall.exe
  "$wine_run" --prefix "$prefix" "$1" /S >>"$out/setup.log" 2>&1
  for _ in $(seq 300); do [ -e "$installation" ] || break; sleep 0.1; done
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null
}

check_installed() {  # WHEN
  for program in "${programs[@]}"; do
    cmp -s "$installation/$program" "$bin/$program" || fail "$1: $program is not the built one"
    [ "$(machine_of "$installation/$program")" = pei-x86-64 ] || fail "$1: $program is not 64-bit"
  done
  [ -e "$installation/uninstall.exe" ] || fail "$1: no uninstaller"
  cmp -s "$system64/tvime30.ime" "$bin/tvime30.ime" || fail "$1: System32 lacks the 64-bit module"
  cmp -s "$system32/tvime30.ime" "$bin32/tvime30.ime" || fail "$1: SysWOW64 lacks the 32-bit module"
  [ "$(machine_of "$system64/tvime30.ime")" = pei-x86-64 ] || fail "$1: the System32 module is not 64-bit"
  [ "$(machine_of "$system32/tvime30.ime")" = pei-i386 ] || fail "$1: the SysWOW64 module is not 32-bit"
  cmp -s "$system64/tvimetsf.dll" "$bin/tvimetsf.dll" || fail "$1: System32 lacks the 64-bit text service"
  cmp -s "$system32/tvimetsf.dll" "$bin32/tvimetsf.dll" || fail "$1: SysWOW64 lacks the 32-bit text service"
  local server
  server=$(default_value "$tsf_class")
  [ "${server,,}" = 'c:\windows\system32\tvimetsf.dll' ] || fail "$1: the text service's class names '$server'"
  [ "$(reg_value "$tsf_class" ThreadingModel)" = Apartment ] || fail "$1: the text service is not apartment-threaded"
  [ "$(reg_value "$tsf_profile" Description)" = 沃岚鼠标输入法 ] ||
    fail "$1: the text service's Chinese profile is '$(reg_value "$tsf_profile" Description)'"
  [ "$(reg_value "$tsf_profile" Enable)" = 0x1 ] || fail "$1: the text service's profile is not enabled for every user"
  local view
  for view in /reg:64 /reg:32; do
    [ "$(reg_value "$settings_machine" Path "$view")" = 'C:\Program Files\Tavrin\tvime' ] ||
      fail "$1: \"Path\" ($view) is '$(reg_value "$settings_machine" Path "$view")'"
  done
  [ "$(our_layouts | grep -c .)" = 1 ] || fail "$1: expected one layout, found '$(our_layouts | tr '\n' ' ')'"
  local shortcuts
  shortcuts=$(ls "$menu" 2>/dev/null | tr '\n' ' ')
  [ "$shortcuts" = "卸载沃岚鼠标输入法.lnk 沃岚鼠标输入法.lnk 词库维护.lnk " ] ||
    fail "$1: the Start menu holds '$shortcuts'"
  [ "$(reg_value "$uninstall_key" DisplayVersion)" = 3.1.0.0 ] || fail "$1: the uninstall entry's version is '$(reg_value "$uninstall_key" DisplayVersion)'"
  [ "$(reg_value "$uninstall_key" Publisher)" = Tavrin ] || fail "$1: no publisher in the uninstall entry"
  [ "$(reg_value "$uninstall_key" UninstallString)" = '"C:\Program Files\Tavrin\tvime\uninstall.exe"' ] ||
    fail "$1: the uninstall command is '$(reg_value "$uninstall_key" UninstallString)'"
  local size
  size=$(reg_value "$uninstall_key" EstimatedSize | sed 's/^0x//')
  [ -n "$size" ] && [ "$((16#$size))" -gt 1000 ] ||
    fail "$1: the uninstall entry's size is '$(reg_value "$uninstall_key" EstimatedSize)'"
}

# --- A fresh prefix, then the installation ---
WINEPREFIX="$prefix" wineserver -k 2>/dev/null
rm -rf "$prefix"
run_setup /S
status=$?
[ "$status" = 0 ] || fail "setup-x64.exe /S exited with $status"
check_installed "installed"
layout=$(our_layouts | head -n 1)
layout=${layout%%|*}

# --- The editor gets 中 through the installed module ---
prepare_settings 600 300
start_editor --layout "$layout" || fail "the editor did not start"
wait_for_panel
if [ "$panel_x" = none ]; then
  fail "the installed module's panel did not show"
else
  type_zhong
  wait_for_text "中" || fail "the editor did not receive 中 through the installed module (it has '$(cat "$editor_text")')"
  screenshot "$out/setup-installed.png"
fi

# --- Upgrade over an older installation, the module loaded by the editor meanwhile ---
for program in "${programs[@]}"; do set_file_version "$installation/$program" 3 0; done
set_file_version "$system64/tvime30.ime" 3 0
wine_quiet reg add "$uninstall_key" /v DisplayVersion /d 3.0.0.0 /f
run_setup /S
status=$?
[ "$status" = 0 ] || fail "the upgrade exited with $status"
check_installed "upgraded"
stop_editor

# --- Uninstall: only the user's data stays ---
mkdir -p "$drive_c/users/$(id -un)/AppData/Roaming/tvime"
echo "用户词语" | iconv -f utf-8 -t gbk >"$drive_c/users/$(id -un)/AppData/Roaming/tvime/tvimeusr.txt"
wine_quiet reg add 'HKCU\Software\Tavrin\tvime3.0\Settings' /v PinYinMode /t REG_DWORD /d 0 /f
cp "$installation/uninstall.exe" "$out/uninstall-copy.exe"
run_uninstaller 'C:\Program Files\Tavrin\tvime\uninstall.exe'
left=$(find "$drive_c" -iname '*tvime*' -not -path '*/AppData/Roaming/tvime*' 2>/dev/null)
[ -z "$left" ] || fail "files left after uninstall: $left"
[ -e "$drive_c/users/$(id -un)/AppData/Roaming/tvime/tvimeusr.txt" ] || fail "the user's words were removed"
[ -d "$menu" ] && fail "the Start menu folder is still there"
[ -z "$(our_layouts)" ] || fail "the layout is still registered: $(our_layouts)"
"$wine_run" --prefix "$prefix" reg query "$tsf_profile" >/dev/null 2>&1 && fail "the text service's profile is still registered"
"$wine_run" --prefix "$prefix" reg query "$tsf_class" >/dev/null 2>&1 && fail "the text service's class is still registered"
"$wine_run" --prefix "$prefix" reg query "$preload_key" 2>/dev/null | grep -qi "${layout:-none}" &&
  fail "the layout is still in the Preload list"
for view in /reg:64 /reg:32; do
  "$wine_run" --prefix "$prefix" reg query 'HKLM\Software\Tavrin' $view >/dev/null 2>&1 &&
    fail "HKLM\\Software\\Tavrin ($view) is still there"
done
"$wine_run" --prefix "$prefix" reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstall entry is still there"
"$wine_run" --prefix "$prefix" reg query 'HKCU\Software\Tavrin\tvime3.0\Settings' /v PinYinMode >/dev/null 2>&1 ||
  fail "the user's settings were removed"

# --- A second uninstall, then an install over a broken one ---
mkdir -p "$out/second" && cp "$out/uninstall-copy.exe" "$out/second/uninstall.exe"
"$wine_run" --prefix "$prefix" "$out/second/uninstall.exe" /S '_?=C:\Program Files\Tavrin\tvime' >>"$out/setup.log" 2>&1
status=$?
[ "$status" = 0 ] || fail "a second uninstall exited with $status"
run_setup /S
rm -f "$installation/tvimeist.exe" "$system32/tvime30.ime"
"$wine_run" --prefix "$prefix" reg delete "$settings_machine" /f >/dev/null 2>&1
run_setup /S
status=$?
[ "$status" = 0 ] || fail "installing over a broken installation exited with $status"
check_installed "repaired"

# --- setup-x86.exe, statically: a 32-bit program carrying the 32-bit programs ---
[ "$(machine_of "$package/setup-x86.exe")" = pei-i386 ] || fail "setup-x86.exe is not a 32-bit program"
payload="$out/x86-payload"
rm -rf "$payload" && mkdir -p "$payload"
7z x -y -o"$payload" "$package/setup-x86.exe" >/dev/null 2>&1 || fail "7z could not open setup-x86.exe"
for file in "${programs[@]}" tvime30.ime tvimetsf.dll; do
  found=$(find "$payload" -name "$file" | head -n 1)
  if [ -z "$found" ]; then
    fail "setup-x86.exe does not carry $file"
  else
    [ "$(machine_of "$found")" = pei-i386 ] || fail "setup-x86.exe carries a $file that is not 32-bit"
  fi
done

end_checks "setups $(stat -c %s "$package/setup-x64.exe") and $(stat -c %s "$package/setup-x86.exe") bytes"
