#!/usr/bin/env bash
# Runs the product as far as it exists: builds the optimised host tools and asks the built
# dictionaries what the stroke panel offers for a few inputs, as a user clicking strokes would see.
#   scripts/run.sh                 the example below
#   scripts/run.sh CODE [--big]    any stroke input: a=横 s=竖 d=撇 f=点 g=折, ?=any stroke
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset host-release >/dev/null
cmake --build --preset host-release --target tvime-query dictionaries >/dev/null
query=build/host-release/tools/tvime-query

if [ $# -gt 0 ]; then
  exec "$query" strokes "$@"
fi

echo "Clicking 竖 折 横 竖 (sgas), common characters: rank, character, stroke code, weight"
"$query" strokes sgas | head -n 10
echo
echo "Clicking 横 (a) with the big character set: the first page of 10"
"$query" strokes a --big | head -n 10
echo
echo "Clicking 点 折 点 撇 点 (fgfdf), common characters"
"$query" strokes fgfdf | head -n 5
