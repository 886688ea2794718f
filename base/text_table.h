#pragma once
// Tab-separated text tables: the data tables under data/ and the query batches of the tests.
// Empty lines and lines starting with "#" are comments; a CR before a line's LF is dropped.

#include <string_view>
#include <vector>

namespace tvime {

inline std::vector<std::string_view> SplitFields(std::string_view line, char separator = '\t') {
  std::vector<std::string_view> fields;
  while (true) {
    size_t at = line.find(separator);
    fields.push_back(line.substr(0, at));
    if (at == std::string_view::npos) return fields;
    line.remove_prefix(at + 1);
  }
}

// Calls visit(fields, line, lineNumber) for every record of the table, lines numbered from 1.
template <typename Visit>
void ForEachRecord(std::string_view table, Visit visit) {
  size_t lineNumber = 0;
  while (!table.empty()) {
    size_t end = table.find('\n');
    std::string_view line = table.substr(0, end);
    table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line[0] == '#') continue;
    visit(SplitFields(line), line, lineNumber);
  }
}

}  // namespace tvime
