#!/usr/bin/env bash
# What tvime30.ime costs each application's memory under Wine: a first application takes the
# module through its phases (started, loaded, selected, typed) and stays at the last; then a
# second one does the same. At each phase the process's memory comes from Linux's
# /proc/PID/smaps_rollup, in three parts:
#   private   pages of this process alone that were written (Private_Dirty): heap, stacks, and
#             anything read into memory of its own, such as decoded dictionaries; what Windows
#             counts as a process's private bytes;
#   clean     file pages that only this process maps at the moment (Private_Clean): shareable,
#             they count as shared as soon as another process maps the same file;
#   shared    pages another process maps too (Shared_Clean + Shared_Dirty).
# Then each application's first selection time. Without a shared image of the dictionaries yet,
# the first application decodes its own and makes the image beside it; the second maps it, and
# its pages show as clean until a third maps them too (remove "%LOCALAPPDATA%\tvime\cache" in
# the prefix to see that case again).
#   scripts/ime-memory.sh [BUILD_DIR]        (default build/win64; needs it built)
# Without DISPLAY it starts a virtual display of its own.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build=$(cd "${1:-$root/build/win64}" && pwd)
app="$build/bin/tvime-ime-memory-app.exe"
prefix="$build/wine"
if [ ! -f "$app" ]; then
  echo "ime-memory.sh: $app is not built (cmake --build --preset win64)" >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
  source "$root/scripts/lib/xvfb.sh"
  start_xvfb
  export DISPLAY=$XVFB_DISPLAY
fi
sync=$(mktemp -d)
cleanup() {
  touch "$sync"/{first,second}.typed.go 2>/dev/null
  sleep 0.5
  rm -rf "$sync"
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
# The Windows view of the folder: Wine's Z: drive is the Linux root.
windows_sync="Z:${sync//\//\\}"

# The Linux process that runs the application NAME: Wine gives it the program as its first word,
# where the wrappers that started it have their own.
process_of() {
  pgrep -f "tvime-ime-memory-app\\.exe [^ ]* $1\$" | while read -r pid; do
    [[ "$(tr '\0' '\n' <"/proc/$pid/cmdline" | head -1)" == *tvime-ime-memory-app.exe ]] &&
      echo "$pid"
  done | head -1
}

# Private, clean and shared memory of PID in MB, from its smaps_rollup.
memory_of() {
  awk '/^Private_Dirty:/ {private += $2}
       /^Private_Clean:/ {clean += $2}
       /^(Shared_Clean|Shared_Dirty):/ {shared += $2}
       END {printf "%7.1f %7.1f %7.1f", private / 1024, clean / 1024, shared / 1024}' \
    "/proc/$1/smaps_rollup"
}

# Waits for NAME to reach PHASE, prints a row for it and lets it go on.
measure_phase() {
  local name=$1 phase=$2 pid
  for _ in $(seq 600); do
    [ -f "$sync/$name.$phase" ] && break
    sleep 0.1
  done
  if [ ! -f "$sync/$name.$phase" ]; then
    echo "ime-memory.sh: the $name application did not reach \"$phase\"" >&2
    return 1
  fi
  pid=$(process_of "$name")
  [ -n "$pid" ] || { echo "ime-memory.sh: no process for the $name application" >&2; return 1; }
  printf '%-8s %-10s %s\n' "$name" "$phase" "$(memory_of "$pid")"
  [ "$phase" = typed ] || touch "$sync/$name.$phase.go"
}

run_application() {
  local name=$1 phase
  TVIME_WINE_TIMEOUT=300 "$root/cmake/wine-run.sh" --prefix "$prefix" "$app" "$windows_sync" \
    "$name" >/dev/null 2>&1 &
  for phase in started loaded selected typed; do
    measure_phase "$name" "$phase" || return 1
  done
}

echo "memory of an application (MB)   private   clean  shared"
run_application first || exit 1
# The first application makes the user's shared image of the dictionaries on a background thread
# after its first selection; the second comes a few seconds later, as applications do.
sleep 3
run_application second || exit 1
echo "first selection (ms): first $(cat "$sync/first.selected"), second $(cat "$sync/second.selected")"
