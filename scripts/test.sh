#!/usr/bin/env bash
# Runs every test of the project from a fresh Debian 12 machine or an existing checkout:
# installs what is missing, builds the presets host (sanitizers, fuzzers), host-release
# (benchmarks), win64 and win32, runs the host tests and fuzzers, the Windows tests of both
# builds under Wine (the 32-bit ones where this machine runs Wine's 32-bit half), the static
# checks of the Windows binaries, builds the two setups and installs, upgrades and
# removes the 64-bit one under Wine, and runs short benchmarks (the engine on the host, the
# input-method module's cost per key under Wine). Ends with "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }

passed=0
failed=0
logs=build/logs
mkdir -p "$logs"

build() {
  local preset=$1
  echo "== build $preset"
  if cmake --preset "$preset" >"$logs/configure-$preset.log" 2>&1 &&
     cmake --build --preset "$preset" >"$logs/build-$preset.log" 2>&1; then
    return 0
  fi
  echo "build of $preset failed; the end of its log:"
  tail -n 40 "$logs/configure-$preset.log" "$logs/build-$preset.log"
  failed=$((failed + 1))
  return 1
}

# A virtual display for the tests that open windows; stopped when the script ends.
source scripts/lib/xvfb.sh
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT

# Runs one preset's tests (extra ctest arguments after "--") and adds the counts to the totals.
run_tests() {
  local preset=$1 name=$1
  shift
  local ctest_args=()
  if [ "${1:-}" = "--name" ]; then
    name=$2
    shift 2
  fi
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do
    ctest_args+=("$1")
    shift
  done
  [ "${1:-}" = "--" ] && shift
  echo "== test $name"
  local log="$logs/test-$name.log"
  env "$@" ctest --preset "$preset" -j2 "${ctest_args[@]}" >"$log" 2>&1
  # Disabled tests are helpers that other tests run in a child process.
  grep -E '^ *[0-9]+/[0-9]+ Test .*\*\*\*(Failed|Exception|Timeout|Not Run)' "$log" |
    grep -v '(Disabled)' ||
    true
  local counts
  counts=$(grep -Eo '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$counts" ]; then
    if grep -q 'No tests were found' "$log"; then return 0; fi
    echo "ctest for $preset did not finish; the end of its log:"
    tail -n 40 "$log"
    failed=$((failed + 1))
    return
  fi
  local f t
  read -r f _ _ _ _ t <<<"$counts"
  passed=$((passed + t - f))
  failed=$((failed + f))
  echo "$((t - f)) passed, $f failed"
  if [ "$f" -gt 0 ]; then
    grep -E -A30 'The following tests FAILED' "$log" | head -n 40
    # What the failed checks said, so that a failure on another machine can be read from here.
    grep -h -E '^FAIL|Failure$|^Expected|^  Actual|Which is' \
      "build/$preset"/Testing/Temporary/LastTest*.log 2>/dev/null | head -n 30
  fi
}

if build host; then run_tests host; fi
win64_built=0
win32_built=0
build win64 && win64_built=1
# Built before the Windows tests run: the update tests publish its module for the updater's
# SysWOW64 step.
build win32 && win32_built=1
# A Windows preset's tests: first those without a display (they must do without one), then
# those that open windows.
run_windows_tests() {
  local preset=$1
  run_tests "$preset" --name "$preset" -LE display -- DISPLAY=
  # A Wine process still alive from the tests without a display would keep the prefix's server,
  # and every window after it would find no display.
  WINEPREFIX="$PWD/build/$preset/wine" wineserver -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] || start_xvfb
  run_tests "$preset" --name "$preset-display" -L display -- DISPLAY="$XVFB_DISPLAY"
}
if [ "$win64_built" = 1 ]; then
  run_windows_tests win64
  grep -h "^click-to-text" build/win64/Testing/Temporary/LastTest*.log 2>/dev/null || true
  DISPLAY="$XVFB_DISPLAY" cmake/wine-run.sh --prefix "$PWD/build/win64/wine" \
    build/win64/bin/tvime-ime-key-cost.exe 2>/dev/null || true
  DISPLAY="$XVFB_DISPLAY" scripts/ime-memory.sh build/win64 || true
  WINEPREFIX="$PWD/build/win64/wine" wineserver -k 2>/dev/null || true
fi
if [ "$win32_built" = 1 ]; then
  # The configure step registers the 32-bit Wine tests only where Wine's 32-bit half runs.
  if cmake/wine-run.sh --runs-32-bit; then
    run_windows_tests win32
    WINEPREFIX="$PWD/build/win32/wine" wineserver -k 2>/dev/null || true
  else
    run_tests win32
    echo "Wine's 32-bit half does not run on this machine (the kernel runs no 32-bit programs):" \
         "the 32-bit programs were checked statically only"
  fi
  # The setups from both builds, then installed, upgraded and removed in a prefix of their own.
  if [ "$win64_built" = 1 ]; then
    echo "== package"
    if scripts/package.sh --no-build >"$logs/package.log" 2>&1; then
      cat "$logs/package.log"
      passed=$((passed + 1))
      echo "== test setup"
      [ -n "$xvfb_pid" ] || start_xvfb
      if DISPLAY="$XVFB_DISPLAY" tests/install/setup_test.sh cmake/wine-run.sh \
           "$PWD/build/package/wine" build/package build/win64/bin build/win32/bin \
           build/package/test >"$logs/test-setup.log" 2>&1; then
        passed=$((passed + 1))
      else
        failed=$((failed + 1))
      fi
      grep -E "^FAIL|failures;" "$logs/test-setup.log"
      WINEPREFIX="$PWD/build/package/wine" wineserver -k 2>/dev/null || true
    else
      tail -n 30 "$logs/package.log"
      failed=$((failed + 1))
    fi
  fi
fi
if build host-release; then
  echo "== benchmarks (figures, not tests)"
  for bench in lexicon_bench session_bench; do
    build/host-release/tests/bench/$bench --benchmark_min_time=0.1 --benchmark_repetitions=5 \
      --benchmark_report_aggregates_only=true 2>/dev/null | grep -E "memory|_median|_max" || true
  done
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
