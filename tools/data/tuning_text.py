"""The tuning part of the text corpus, as the table scripts use it.

tools/data/corpus.sh writes the corpus as TVIME_CORPUS/tuning/<source>.txt and
TVIME_CORPUS/evaluation/<source>.txt. The table scripts read the tuning part
only; this module refuses any other folder, so that the evaluation figure
stays a measure of text the tables never saw.

What the tables take from the tuning text:
  * counts of characters and of phrases (every occurrence of a phrase's text,
    inside longer words too, which is what association sees: after 中国 the
    user wants 中国人 as often as it is written);
  * the mix of dictionary frequencies and tuning counts that best predicts
    held-out tuning text: the sources are cut in two halves, each half's counts
    predict the other half, and the mix with the larger log-likelihood wins;
  * frequent multi-word sequences (see frequent_sequences).
"""

import collections
import hashlib
import math
import pathlib
import re

from tables_common import DataError, require

HANZI_RUN = re.compile(r"[\u4e00-\u9fa5]+")
# The shares of the tuning counts tried against the dictionaries' frequencies.
MIXES = tuple(i / 10 for i in range(11))
# What an unseen key is taken to have, as a share, when scoring a mix; below any real share.
UNSEEN_SHARE = 1e-12


def read_tuning_sources(folder):
    """{source name: text} of the tuning part; refuses any other folder.

    A line that an earlier source (in name order) has already is left out: boilerplate such as
    the translators' credit at the end of every manual page, or "取消" in every catalogue, would
    otherwise weigh as often as it is copied, and put 中文版由中文 first after 中."""
    folder = pathlib.Path(folder)
    require(folder.name == "tuning",
            f"{folder} is not a corpus's tuning part; the evaluation part must not shape the tables")
    sources = {}
    seen = set()
    for path in sorted(folder.glob("*.txt")):
        lines = []
        for line in path.read_text(encoding="utf-8").split("\n"):
            key = line.strip()
            if key in seen:
                continue
            seen.add(key)
            lines.append(line)
        sources[path.stem] = "\n".join(lines)
    require(sources, f"no tuning text in {folder}; run tools/data/corpus.sh")
    return sources


def hanzi_runs(text):
    return HANZI_RUN.findall(text)


def half_of(source):
    """0 or 1: which half of the tuning sources a source is in, for cross-validation."""
    return int(hashlib.sha256(source.encode()).hexdigest(), 16) % 2


def count_chars(sources):
    """[counts of half 0, counts of half 1] of every hanzi."""
    halves = [collections.Counter(), collections.Counter()]
    for name, text in sources.items():
        for run in hanzi_runs(text):
            halves[half_of(name)].update(run)
    return halves


# A phrase is counted where it spans this many words of the cut text at most (中国 + 人民 + 大学).
MAX_WORDS_PER_PHRASE = 4


def count_phrases(sources, phrases, word_counts, max_length):
    """[counts of half 0, counts of half 1] of each phrase, counted where it covers whole words
    of the text cut into `phrases` (see segment): one word, or a few in a row. A phrase that
    would straddle words is not counted there: 中使 (an envoy) is not in 文件中使用."""
    costs, single_cost = word_costs(word_counts, phrases)
    halves = [collections.Counter(), collections.Counter()]
    for name, text in sources.items():
        counts = halves[half_of(name)]
        for run in hanzi_runs(text):
            pieces = segment(run, costs, single_cost, max_length)
            for start in range(len(pieces)):
                text = ""
                for piece in pieces[start:start + MAX_WORDS_PER_PHRASE]:
                    text += piece
                    if len(text) > max_length:
                        break
                    if len(text) >= 2 and text in phrases:
                        counts[text] += 1
    return halves


def shares(keys, counts):
    total = sum(counts[k] for k in keys)
    return {k: counts[k] / total for k in keys} if total else {k: 0.0 for k in keys}


def mixed(base, tuning, mix):
    return {k: (1 - mix) * base[k] + mix * tuning[k] for k in base}


def log_likelihood(predicted, observed):
    return sum(n * math.log(max(predicted.get(k, 0.0), UNSEEN_SHARE))
               for k, n in observed.items() if k in predicted)


def best_mix(base, halves, acceptable=lambda shares: True):
    """The share of tuning counts that, mixed with `base` (shares over the keys), best predicts
    each half of the tuning text from the other, among the mixes whose result (shares over the
    keys, from the whole tuning text) `acceptable` accepts. Returns the mix and its score per mix.
    The tuning text is manuals and program messages; the checks `acceptable` makes keep the
    tables good for everyday writing too (们 among the first 100 characters)."""
    keys = list(base)
    tuning = [shares(keys, half) for half in halves]
    whole = tuning_shares(keys, halves)
    scores = {}
    for mix in MIXES:
        scores[mix] = sum(log_likelihood(mixed(base, tuning[1 - i], mix), halves[i])
                          for i in (0, 1))
    for mix in sorted(MIXES, key=lambda m: (-scores[m], m)):
        if acceptable(mixed(base, whole, mix)):
            return mix, scores
    raise DataError("no mix of the tuning text keeps the checks, not even none")


def tuning_shares(keys, halves):
    """Shares over `keys` of both halves' counts together."""
    total = collections.Counter()
    for half in halves:
        total.update(half)
    return shares(keys, total)


def segment(run, word_costs, single_cost, max_length):
    """The cheapest cut of a run into words: each word costs its entry of `word_costs` (a
    negative log-probability), a character that is no word `single_cost`. Cutting by the most
    probable words, not the longest first, keeps 对应用程序 from becoming 对应 + 用程序."""
    best = [0.0] + [math.inf] * len(run)
    cut = [0] * (len(run) + 1)
    for end in range(1, len(run) + 1):
        for start in range(max(0, end - max_length), end):
            piece = run[start:end]
            cost = word_costs.get(piece, single_cost if end - start == 1 else None)
            if cost is not None and best[start] + cost < best[end]:
                best[end] = best[start] + cost
                cut[end] = start
    pieces = []
    end = len(run)
    while end > 0:
        pieces.append(run[cut[end]:end])
        end = cut[end]
    return pieces[::-1]


def word_costs(word_counts, words):
    """Negative log-probabilities of `words` (and of every single character) from word counts,
    add-one smoothed; and the cost of a character the counts lack."""
    total = sum(word_counts.values()) + len(words)
    costs = {w: -math.log((word_counts.get(w, 0) + 1) / total) for w in words}
    for word, count in word_counts.items():
        if len(word) == 1:
            costs[word] = -math.log((count + 1) / total)
    return costs, -math.log(1 / total)


def frequent_sequences(sources, words, word_counts, max_length, min_count, min_sources,
                       max_chars):
    """Runs of two or three consecutive words of the tuning text (cut into `words` by
    `word_counts`, see segment), 3 to `max_chars` characters long, at least one of them a word
    of two characters or more, that are not words themselves and occur at least `min_count`
    times in at least `min_sources` sources. Returns {text: (count, the words it is made of)}.

    A word with a particle (的文件, 命令的) is kept: association after 的 then offers 文件 at
    one click. Requiring words of two characters at both ends keeps far fewer sequences and
    much less of their gain (data/README.md)."""
    costs, single_cost = word_costs(word_counts, words)
    counts = collections.Counter()
    seen_in = collections.defaultdict(set)
    pieces_of = {}
    for name, text in sources.items():
        for run in hanzi_runs(text):
            pieces = segment(run, costs, single_cost, max_length)
            for size in (2, 3):
                for i in range(len(pieces) - size + 1):
                    group = pieces[i:i + size]
                    joined = "".join(group)
                    if not 3 <= len(joined) <= max_chars or joined in words:
                        continue
                    if all(len(p) == 1 for p in group):
                        continue
                    counts[joined] += 1
                    seen_in[joined].add(name)
                    pieces_of.setdefault(joined, tuple(group))
    return {text: (n, pieces_of[text]) for text, n in counts.items()
            if n >= min_count and len(seen_in[text]) >= min_sources}
