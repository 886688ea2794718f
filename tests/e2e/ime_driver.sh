# The installed input method in a Wine prefix, as the end-to-end scripts check and drive it: its
# keyboard layouts and its panel. Sourced after gui_driver.sh (wine_run, prefix and bin set).
layouts_key='HKLM\SYSTEM\CurrentControlSet\Control\Keyboard Layouts'
preload_key='HKCU\Keyboard Layout\Preload'

# The layouts whose input-method file is tvime30.ime, one "name|layout text" per line.
our_layouts() {
  "$wine_run" --prefix "$prefix" reg query "$layouts_key" /s 2>/dev/null | iconv -f gbk -t utf-8 |
    awk -F'    ' '/^HKEY_/ { n = split($0, p, "\\"); key = p[n]; file = ""; text = "" }
                  tolower($2) == "ime file" && tolower($4) ~ /tvime30\.ime$/ { file = key }
                  $2 == "Layout Text" { text = $4 }
                  file != "" && text != "" { print file "|" text; file = "" }'
}

preload_value() {  # NAME
  "$wine_run" --prefix "$prefix" reg query "$preload_key" /v "$1" 2>/dev/null |
    awk -v name="$1" '$1 == name { print $3 }'
}

# Waits for the module's composition panel; panel_x is "none" when it did not show.
wait_for_panel() {
  for _ in $(seq 150); do
    read -r panel_x panel_y _ _ <<<"$(window_tool rect TavrinIME3_COMP)"
    [ "$panel_x" != none ] && return 0
    sleep 0.1
  done
}
