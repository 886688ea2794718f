#include "engine/stroke_code.h"

namespace tvime {

std::vector<std::string_view> SplitAtSeparators(std::string_view input) {
  std::vector<std::string_view> parts;
  while (true) {
    size_t separator = input.find(kPhraseSeparator);
    parts.push_back(input.substr(0, separator));
    if (separator == std::string_view::npos) return parts;
    input.remove_prefix(separator + 1);
  }
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
