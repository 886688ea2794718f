#include "tools/query/query_commands.h"

#include <cstdlib>
#include <vector>

#include "tools/query/candidate_listing.h"

namespace tvime {

bool RunQuery(QueryEngine& engine, std::span<const std::string> words, bool big,
              std::ostream& out) {
  if (words.empty()) return false;
  std::uint16_t word = engine.flags.word();
  engine.flags.Assign(
      static_cast<std::uint16_t>(big ? word | CS_BIG_CHARSET : word & ~CS_BIG_CHARSET));
  const std::string& command = words[0];
  const size_t arguments = words.size() - 1;
  Lexicon& lexicon = engine.lexicon;
  if (command == "strokes" && arguments == 1) {
    ListStrokeCandidates(lexicon, FoldStrokes(words[1]), out);
  } else if (command == "phrases" && arguments == 1) {
    ListPhraseCandidates(lexicon, words[1], out);
  } else if (command == "assoc" && arguments >= 1) {
    lexicon.ClearLists();  // each question starts without history
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
  while (!batch.empty()) {
    size_t end = batch.find('\n');
    std::string_view line = batch.substr(0, end);
    batch.remove_prefix(end == std::string_view::npos ? batch.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> words;
    for (std::string_view rest = line;;) {
      size_t tab = rest.find('\t');
      words.emplace_back(rest.substr(0, tab));
      if (tab == std::string_view::npos) break;
      rest.remove_prefix(tab + 1);
    }
    bool big = words.front() == "--big";
    if (big) words.erase(words.begin());
    out << "== " << line << '\n';
    allKnown &= RunQuery(engine, words, big, out);
  }
  return allKnown;
}

}  // namespace tvime
