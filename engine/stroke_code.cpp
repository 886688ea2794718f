#include "engine/stroke_code.h"

#include "base/text_table.h"

namespace tvime {

std::vector<std::string_view> SplitAtSeparators(std::string_view input) {
  return SplitFields(input, kPhraseSeparator);
}

std::string FoldStrokes(std::string_view input) {
  std::string folded(input);
  for (char& c : folded) {
    if (c == 't') c = 'a';
    if (c == 'h') c = 's';
    if (c == 'n') c = 'f';
  }
  return folded;
}

bool StrokePrefixMatch(const char* code, std::string_view query) {
  bool codeEnded = false;
  for (char q : query) {
    // Once the code has ended only "?" still matches (it stands for the code's end as well).
    char c = codeEnded ? '\0' : *code;
    if (c == '\0') codeEnded = true;
    if (q == kAnyStroke) {
      if (!codeEnded) ++code;
      continue;
    }
    if (codeEnded) return false;
    if (c != q && !(c == 'a' && q == 't')) return false;
    ++code;
  }
  return true;
}

bool IsStrictExtension(std::string_view text, std::string_view key) {
  return text.size() > key.size() && text.substr(0, key.size()) == key;
}

}  // namespace tvime
