#!/usr/bin/env bash
# Runs the product: the stand-alone program tvimegui under Wine, its floating panel typing into an
# editor. With a display both are left running for you to click (close the editor and choose
# 退出 in the panel's menu, or press Ctrl+C, to end). Without a display a virtual one is started,
# a short input is played with xdotool (the strokes of 中 and a click on it, then the follow-on
# 国 and the phrase 人民), and the text the editor received and a screenshot are printed.
#   scripts/run.sh                 as above
#   scripts/run.sh --headless      the scripted input even when there is a display
#   scripts/run.sh query ARGS...   ask the dictionaries directly (tvime-query), e.g.
#                                  "strokes sgas", "assoc 中 国", "pinyin zhongguo"
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh || exit 1

if [ "${1:-}" = "query" ]; then
  shift
  cmake --preset host-release >/dev/null &&
    cmake --build --preset host-release --target tvime-query dictionaries >/dev/null || exit 1
  exec build/host-release/tools/tvime-query "$@"
fi

echo "Building the Windows programs (the first time takes a few minutes)..."
mkdir -p build/logs
if ! { cmake --preset win64 && cmake --build --preset win64 --target tvimegui \
         tvime-target-editor tvime-window-tool; } >build/logs/run-build.log 2>&1; then
  tail -n 40 build/logs/run-build.log
  exit 1
fi

wine_run=$root/cmake/wine-run.sh
prefix=$root/build/win64/wine
bin=$root/build/win64/bin
out=$root/build/run
mkdir -p "$out"
source tests/e2e/gui_driver.sh
source scripts/lib/xvfb.sh

headless=0
if [ "${1:-}" = "--headless" ] || [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  headless=1
fi

if [ "$headless" = 0 ]; then
  run_seconds=86400
  echo "Starting an editor and tvimegui on $DISPLAY. Click the strokes on the floating panel,"
  echo "then a candidate: the text goes into the editor. The tray menu or the panel's 设置 menu"
  echo "ends tvimegui."
  trap 'stop_gui; stop_editor' EXIT
  start_editor
  TVIME_WINE_TIMEOUT=$run_seconds "$wine_run" --prefix "$prefix" "$bin/tvimegui.exe"
  stop_editor
  exit 0
fi

start_xvfb
export DISPLAY=$XVFB_DISPLAY
run_seconds=120
trap 'stop_gui; stop_editor; kill "$xvfb_pid" 2>/dev/null' EXIT
echo "No display: playing a short input on a virtual one ($DISPLAY)."
prepare_settings 520 40
start_editor || { echo "The editor did not start:"; cat "$out/editor.out"; exit 1; }
start_gui || { echo "tvimegui did not start:"; cat "$out/tvimegui.out"; exit 1; }
echo "Clicking 竖 折 横 竖 and the candidate 中, then the follow-on 国 and the phrase 人民."
type_zhong
wait_for_text "中"
type_guo
wait_for_text "中国"
type_renmin
wait_for_text "中国人民"
screenshot "$out/tvimegui.png"
echo "The editor received: $(cat "$editor_text")"
echo "Click to text (ms, from the button press and from its release):"
delivery_latencies | sed 's/^/  /'
echo "Screenshot: $out/tvimegui.png"
[ "$(cat "$editor_text")" = "中国人民" ]
