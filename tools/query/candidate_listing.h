#pragma once
// The text listings of the query tool, shared with the Windows tests that compare a Windows
// build's search results with the host's.

#include <ostream>
#include <string_view>

#include "engine/lexicon.h"

namespace tvime {

// The character candidates of a stroke query, one per line:
// rank<TAB>character<TAB>code<TAB>weight, UTF-8, rank from 1.
void ListStrokeCandidates(Lexicon& lexicon, std::string_view query, std::ostream& out);

}  // namespace tvime
