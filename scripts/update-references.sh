#!/usr/bin/env bash
# Makes the reference screenshots of the panels again (tests/e2e/references), after a deliberate
# change of what the panels show: builds the panel host, clicks through the panels under a
# virtual display in the prefix with the declared fonts, replaces each reference that differs and
# prints which ones changed. The clicks are checked as in the test run.
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh || exit 1
mkdir -p build/logs
if ! { cmake --preset win64 &&
       cmake --build --preset win64 --target tvime-panel-host tvimegui tvime-target-editor \
         tvime-window-tool; } \
       >build/logs/update-references-build.log 2>&1; then
  tail -n 40 build/logs/update-references-build.log
  exit 1
fi

source scripts/lib/xvfb.sh
start_xvfb
trap 'kill "$xvfb_pid" 2>/dev/null' EXIT
DISPLAY=$XVFB_DISPLAY TVIME_UPDATE_REFERENCES=1 tests/e2e/panel_clicks_test.sh \
  "$PWD/cmake/wine-run.sh" "$PWD/build/win64/wine" "$PWD/build/win64/bin/tvime-panel-host.exe" \
  "$PWD/tests/e2e/references" "$PWD/build/win64/screenshots"
status=$?
# The stand-alone program's panel at 96, 144 and 192 dpi (tests/e2e/references/dpi).
DISPLAY=$XVFB_DISPLAY TVIME_UPDATE_REFERENCES=1 tests/e2e/gui_dpi_test.sh \
  "$PWD/cmake/wine-run.sh" "$PWD/build/win64/wine-dpi" "$PWD/build/win64/bin" \
  "$PWD/tests/e2e/references/dpi" "$PWD/build/win64/screenshots" || status=1
changed=$(git status --porcelain -- tests/e2e/references | wc -l)
echo "$changed reference screenshot(s) differ from the committed ones (git status tests/e2e/references)"
exit $status
