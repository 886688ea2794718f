#!/usr/bin/env bash
# Builds the text corpus the dictionaries are tuned and measured on, from the packages pinned in
# tools/data/corpus_packages.txt, split as tools/data/corpus_split.txt says.
#
# Usage: tools/data/corpus.sh
#   TVIME_CORPUS  output folder (default: ${TMPDIR:-/tmp}/tvime-corpus), which gets
#                 tuning/<source>.txt and evaluation/<source>.txt
# Packages are fetched with `apt-get download` and unpacked with `dpkg-deb -x`, one folder per
# package; nothing is installed. About 100 MB are downloaded.
set -euo pipefail

repo_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
corpus="${TVIME_CORPUS:-${TMPDIR:-/tmp}/tvime-corpus}"
debs="$corpus/debs"
unpacked="$corpus/unpacked"
pinned="$repo_root/tools/data/corpus_packages.txt"

mapfile -t packages < <(grep -v '^#' "$pinned" | cut -f1)

if [ -z "$(apt-cache show "${packages[0]}" 2>/dev/null)" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "apt does not know the pinned packages; run 'apt-get update' as root first" >&2
    exit 1
  fi
  apt-get update -qq
fi

mkdir -p "$debs"
missing=()
for package in "${packages[@]}"; do
  name="${package%%=*}"
  version="${package#*=}"
  # apt-get download writes an epoch's colon as %3a.
  compgen -G "$debs/${name}_${version//:/%3a}_*.deb" >/dev/null || missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
  (cd "$debs" && apt-get download -qq -o APT::Sandbox::User=root "${missing[@]}")
fi

rm -rf "$unpacked" "$corpus/tuning" "$corpus/evaluation"
mkdir -p "$unpacked"
for deb in "$debs"/*.deb; do
  name="$(basename "$deb")"
  dpkg-deb -x "$deb" "$unpacked/${name%%_*}"
done
python3 "$repo_root/tools/data/corpus.py" build --debs "$unpacked" --pinned "$pinned" \
  --split "$repo_root/tools/data/corpus_split.txt" --out "$corpus"
