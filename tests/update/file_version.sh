# Sourced by the update tests' scripts.
# set_file_version FILE MAJOR MINOR: sets the file version in a Windows program's fixed version
# resource, in place, so that a copy of a built program stands for an older or newer release. The
# resource is the 0xFEEF04BD signature followed by the structure version 1.0 (the signature alone
# may also occur in code); the file version is the word after them.
set_file_version() {
  local offset found=
  for offset in $(LC_ALL=C grep -obUaP '\xbd\x04\xef\xfe\x00\x00\x01\x00' "$1" | cut -d: -f1); do
    found=$offset
  done
  [ -n "$found" ] || return 1
  printf "\\x$(printf %02x "$3")\\x00\\x$(printf %02x "$2")\\x00" |
    dd of="$1" bs=1 seek=$((found + 8)) conv=notrunc 2>/dev/null
}
