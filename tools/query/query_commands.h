#pragma once
// The commands of the query tool, runnable one by one or in a batch, so that a Windows test can
// put the same questions to the dictionaries embedded in a DLL and compare the answers.

#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "engine/lexicon.h"
#include "engine/pinyin_input.h"

namespace tvime {

struct QueryEngine {
  Lexicon& lexicon;
  PinyinInput& pinyin;
};

// Runs one command ("strokes CODE", "phrases CODE'CODE", "assoc TEXT...", "pinyin LETTERS",
// "radicals CODE", "group N [CODE]"), with the big character set when `big`. False when the
// command or its arguments are unknown.
bool RunQuery(QueryEngine& engine, std::span<const std::string> words, bool big, std::ostream& out);

// Runs every line of a batch: tab-separated words, "--big" first for the big character set;
// empty lines and lines starting with "#" are skipped. Each answer is headed "== LINE".
bool RunQueryBatch(QueryEngine& engine, std::string_view batch, std::ostream& out);

}  // namespace tvime
