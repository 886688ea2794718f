#!/usr/bin/env bash
# Measures lever sets against the evaluation text: for each argument (a comma-separated list of
# levers of tools/data/refresh_data.py, "none" for none), builds the tables and the dictionaries
# in a scratch folder and prints the evaluation figure of tvime-typing-cost with and without
# learning.
#
# Usage: tools/data/measure_levers.sh none weights order,drop ...
#   MEASURE_LEARNING=0  skips the figure with learning
# Needs tools/data/refresh.sh and tools/data/corpus.sh to have run (their scratch folders are
# found as they find them) and the host-release build (cmake --build --preset host-release).
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
scratch="${TVIME_DATA_SOURCES:-${TMPDIR:-/tmp}/tvime-data-sources}"
corpus="${TVIME_CORPUS:-${TMPDIR:-/tmp}/tvime-corpus}"
tools="$repo_root/build/host-release/tools"
data_tools="$repo_root/tools/data"

for levers in "$@"; do
  [ "$levers" = none ] && levers=""
  out="$scratch/levers/${levers:-none}"
  rm -rf "$out"
  mkdir -p "$out/data" "$out/dict"
  {
    python3 "$data_tools/refresh_data.py" --sources "$scratch/root" \
      --essay-simplified "$scratch/work/essay_words_simplified.txt" \
      --tuning "$corpus/tuning" --levers "$levers" --out "$out/data"
    python3 "$data_tools/phrase_tables.py" --sources "$scratch/root" \
      --essay-simplified "$scratch/work/essay_words_simplified.txt" \
      --luna-simplified "$scratch/work/luna_phrases_simplified.txt" \
      --words "$out/data/words.txt" --tuning "$corpus/tuning" --levers "$levers" --out "$out/data"
    python3 "$data_tools/radical_tables.py" --sources "$scratch/root" \
      --words "$out/data/words.txt" --out "$out/data"
    python3 "$data_tools/next_words.py" --phrases "$out/data/phrases.txt" \
      --tuning "$corpus/tuning" --out "$out/data"
  } >"$out/summary.txt"
  "$tools/tvime-dictbuild" words "$out/data/words.txt" "$out/dict/words.bin"
  "$tools/tvime-dictbuild" phrases "$out/data/phrases.txt" "$out/dict/phrase.bin"
  "$tools/tvime-dictbuild" pinyin "$out/data/pinyin.txt" "$out/data/words.txt" "$out/dict/WDPINYIN.BIN"
  "$tools/tvime-dictbuild" radicals "$out/data/radicals.txt" "$out/dict/pianpang.bin"
  "$tools/tvime-dictbuild" groups "$out/data/radical_groups.txt" "$out/dict/extra.bin"
  "$tools/tvime-dictbuild" nextword "$out/data/next_words.txt" "$out/data/phrases.txt" \
    "$out/dict/nextword.bin"
  "$tools/tvime-typing-cost" --dict "$out/dict" "$corpus/evaluation" >"$out/cost.txt"
  if [ "${MEASURE_LEARNING:-1}" = 1 ]; then
    "$tools/tvime-typing-cost" --dict "$out/dict" --learn "$corpus/evaluation" >"$out/cost-learn.txt"
  else
    cp "$out/cost.txt" "$out/cost-learn.txt"
  fi
  printf '%-36s %s   learning: %s   unreachable: %s\n' "${levers:-none}" \
    "$(awk '$1 == "total" {print $4}' "$out/cost.txt")" \
    "$(awk '$1 == "total" {print $4}' "$out/cost-learn.txt")" \
    "$(awk -F': ' '/^hanzi no click reaches/ {print $2}' "$out/cost.txt" | cut -d' ' -f1)"
done
