#!/usr/bin/env bash
# The Wine wrapper returns when its program ends, even when the program leaves another process
# running (as the background service leaves the updater): that process inherits the program's
# output, and the wrapper must not wait for it.
#   wine_run_test.sh WINE_RUN PREFIX
set -uo pipefail
wine_run=$1 prefix=$2

start=$(date +%s)
output=$("$wine_run" --prefix "$prefix" cmd /c 'start /b ping -n 60 127.0.0.1 & echo started' |
         tr -d '\r\n')
took=$(($(date +%s) - start))
"$wine_run" --prefix "$prefix" taskkill /f /im ping.exe >/dev/null 2>&1

status=0
if [ "$output" != started ]; then
  echo "FAIL: the program's output was [$output], not [started]"
  status=1
fi
if [ "$took" -ge 30 ]; then
  echo "FAIL: the wrapper waited ${took} s for the process its program left running"
  status=1
fi
[ "$status" = 0 ] && echo "the wrapper returned after ${took} s"
exit "$status"
