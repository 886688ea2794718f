#!/usr/bin/env bash
# Runs the product as far as it exists: builds the optimised host tools and asks the built
# dictionaries what the stroke panel offers for a few inputs, as a user clicking strokes would see.
#   scripts/run.sh                  the examples below
#   scripts/run.sh ARGS...          any question to the query tool, e.g. "strokes sgas",
#                                   "phrases sgas'sga", "assoc 中 国", "pinyin zhongguo",
#                                   "radicals ffa", "group 241 as" (add --big for the big set)
set -eu  # no pipefail: `head` closing a listing early is fine
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset host-release >/dev/null
cmake --build --preset host-release --target tvime-query dictionaries >/dev/null
query=build/host-release/tools/tvime-query

if [ $# -gt 0 ]; then
  exec "$query" "$@"
fi

echo "Clicking 竖 折 横 竖 (sgas), common characters: rank, character, stroke code, weight"
"$query" strokes sgas | head -n 10
echo
echo "Clicking 横 (a) with the big character set: the first page of 10"
"$query" strokes a --big | head -n 10
echo
echo "Clicking 中's strokes, the separator, then 竖 折 横 (the start of 国): phrases"
"$query" phrases "sgas'sga" | sed -n '/# phrases/,$p' | head -n 6
echo
echo "After choosing 中, then 国: the follow-on words offered"
"$query" assoc 中 国 | head -n 6
echo
echo "Pinyin clicked as zh ong g uo"
"$query" pinyin zhongguo | head -n 6
echo
echo "The radical 氵 (点 点 提), then 横 竖 (the start of the rest of the character)"
"$query" group 241 as | head -n 6
