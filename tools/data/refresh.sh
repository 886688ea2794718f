#!/usr/bin/env bash
# Regenerates the tables in data/ from openly licensed data in Debian 12 packages.
#
# The packages are fetched with `apt-get download` and unpacked with `dpkg-deb -x`
# into a scratch folder; nothing is installed. OpenCC runs from that folder to
# convert rime's traditional-character word list to simplified characters, then
# tools/data/refresh_data.py writes the tables. The tuning part of the text corpus
# (tools/data/corpus.sh, about 100 MB more) tunes the weights and the phrases. The
# same package versions always give byte-identical tables.
#
# Usage: tools/data/refresh.sh
#   TVIME_DATA_SOURCES  scratch folder (default: ${TMPDIR:-/tmp}/tvime-data-sources)
#   TVIME_CORPUS        the corpus's folder (default: ${TMPDIR:-/tmp}/tvime-corpus)
# Needs apt-get, dpkg-deb and python3; as root it runs `apt-get update` when the
# package lists do not know the pinned versions.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
scratch="${TVIME_DATA_SOURCES:-${TMPDIR:-/tmp}/tvime-data-sources}"
debs="$scratch/debs"
root="$scratch/root"
work="$scratch/work"
corpus="${TVIME_CORPUS:-${TMPDIR:-/tmp}/tvime-corpus}"

# Pinned so that a refresh is reproducible; data/README.md lists the same versions.
packages=(
  fcitx5-module-pinyinhelper=5.0.16-1        # py_stroke.mb: mainland stroke orders
  rime-data-stroke=0.0~git20230204.c8bc405-1 # stroke.dict.yaml: stroke orders, fallback
  unicode-data=15.0.0-1                      # Unihan: readings, 通用规范汉字表 index
  rime-essay=0.0~git20230204.e0519d0-1       # essay.txt: word frequencies (librime-data's data)
  python3-jieba=0.42.1-3                     # dict.txt: word frequencies
  opencc=1.1.6+ds1-1                         # t2s conversion, run from the scratch folder,
  libopencc1.1=1.1.6+ds1-1                   # with its library,
  libopencc-data=1.1.6+ds1-1                 # its dictionaries
  libmarisa0=0.2.6-13+b1                     # and the library it links to
  rime-data-luna-pinyin=0.0~git20230204.79aeae2-3~deb12u1 # luna_pinyin.dict.yaml
)

known_to_apt() {
  local pinned
  for pinned in "${packages[@]}"; do
    # apt-cache show prints nothing (and may still succeed) for an unknown version.
    [ -n "$(apt-cache show "$pinned" 2>/dev/null)" ] || return 1
  done
}

fetch_packages() {
  if ! known_to_apt; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "apt does not know all pinned packages; run 'apt-get update' as root first" >&2
      exit 1
    fi
    apt-get update -qq
  fi
  rm -rf "$debs"
  mkdir -p "$debs"
  # The sandbox option keeps apt from warning that its _apt user cannot write here.
  (cd "$debs" && apt-get download -qq -o APT::Sandbox::User=root "${packages[@]}")
}

unpack_packages() {
  local deb
  rm -rf "$root"
  mkdir -p "$root"
  for deb in "$debs"/*.deb; do
    dpkg-deb -x "$deb" "$root"
  done
}

# Runs the unpacked opencc with its unpacked libraries and a config given by path;
# OpenCC finds the .ocd2 dictionaries next to the config.
run_opencc() {
  local lib_dirs
  lib_dirs="$(find "$root/usr/lib" \( -name 'libopencc.so.*' -o -name 'libmarisa.so.*' \) \
    -printf '%h\n' | sort -u | paste -sd:)"
  LD_LIBRARY_PATH="$lib_dirs" "$root/usr/bin/opencc" -c "$root/usr/share/opencc/t2s.json" "$@"
}

convert_essay_words() {
  rm -rf "$work"
  mkdir -p "$work"
  if [ "$(printf '們說\n' | run_opencc)" != "们说" ]; then
    echo "opencc from $root does not convert; check its config and dictionaries" >&2
    exit 1
  fi
  cut -f1 "$root/usr/share/rime-data/essay.txt" >"$work/essay_words.txt"
  run_opencc -i "$work/essay_words.txt" -o "$work/essay_words_simplified.txt"
}

# The phrase column of rime's compiled luna pinyin table, one phrase per line so that t2s
# converts each as a whole (it is phrase-aware: 乾燥 becomes 干燥, 乾隆 stays); the output keeps
# one line per line of the table.
convert_luna_phrases() {
  cut -f1 "$root/usr/share/rime-data/build/luna_pinyin.table.txt" >"$work/luna_phrases.txt"
  run_opencc -i "$work/luna_phrases.txt" -o "$work/luna_phrases_simplified.txt"
}

fetch_packages
unpack_packages
convert_essay_words
convert_luna_phrases
TVIME_CORPUS="$corpus" "$repo_root/tools/data/corpus.sh"
# Only the tuning part: the evaluation part measures text the tables never saw.
python3 "$repo_root/tools/data/refresh_data.py" \
  --sources "$root" \
  --essay-simplified "$work/essay_words_simplified.txt" \
  --tuning "$corpus/tuning" \
  --out "$repo_root/data"
python3 "$repo_root/tools/data/phrase_tables.py" \
  --sources "$root" \
  --essay-simplified "$work/essay_words_simplified.txt" \
  --luna-simplified "$work/luna_phrases_simplified.txt" \
  --words "$repo_root/data/words.txt" \
  --tuning "$corpus/tuning" \
  --out "$repo_root/data"
# What follows each word in the tuning text, for the ranking of follow-on words.
python3 "$repo_root/tools/data/next_words.py" \
  --phrases "$repo_root/data/phrases.txt" \
  --tuning "$corpus/tuning" \
  --out "$repo_root/data"
python3 "$repo_root/tools/data/radical_tables.py" \
  --sources "$root" \
  --words "$repo_root/data/words.txt" \
  --out "$repo_root/data"
