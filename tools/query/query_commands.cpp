#include "tools/query/query_commands.h"

#include <cstdlib>
#include <vector>

#include "base/text_table.h"
#include "tools/query/candidate_listing.h"

namespace tvime {

bool RunQuery(QueryEngine& engine, std::span<const std::string> words, bool big,
              std::ostream& out) {
  if (words.empty()) return false;
  Lexicon& lexicon = engine.lexicon;
  LexiconOptions options = lexicon.options();
  options.bigCharset = big;
  lexicon.SetOptions(options);
  const std::string& command = words[0];
  const size_t arguments = words.size() - 1;
  if (command == "strokes" && arguments == 1) {
    ListStrokeCandidates(lexicon, FoldStrokes(words[1]), out);
  } else if (command == "phrases" && arguments == 1) {
    ListPhraseCandidates(lexicon, words[1], out);
  } else if (command == "assoc" && arguments >= 1) {
    ListAssociation(lexicon, words.subspan(1), out);
  } else if (command == "pinyin" && arguments == 1) {
    ListPinyinCandidates(engine.pinyin, lexicon, words[1], out);
  } else if (command == "radicals" && arguments == 1) {
    ListRadicals(lexicon, words[1], out);
  } else if (command == "group" && (arguments == 1 || arguments == 2)) {
    size_t group = std::strtoul(words[1].c_str(), nullptr, 10);
    ListRadicalGroup(lexicon, group, arguments == 2 ? words[2] : "", out);
  } else {
    return false;
  }
  return true;
}

bool RunQueryBatch(QueryEngine& engine, std::string_view batch, std::ostream& out) {
  bool allKnown = true;
  ForEachRecord(batch,
                [&](const std::vector<std::string_view>& fields, std::string_view line, size_t) {
                  std::vector<std::string> words(fields.begin(), fields.end());
                  bool big = words.front() == "--big";
                  if (big) words.erase(words.begin());
                  out << "== " << line << '\n';
                  allKnown &= RunQuery(engine, words, big, out);
                });
  return allKnown;
}

}  // namespace tvime
