#include "tools/query/candidate_listing.h"

#include "base/gbk.h"

namespace tvime {

void ListStrokeCandidates(Lexicon& lexicon, std::string_view query, std::ostream& out) {
  lexicon.FindByStrokes(query);
  size_t rank = 0;
  for (CandidateId id : lexicon.mainList) {
    const CharEntry& entry = lexicon.chars.EntryAt(id);
    out << ++rank << '\t' << GbkToUtf8(entry.text) << '\t' << entry.code << '\t' << entry.weight
        << '\n';
  }
}

}  // namespace tvime
