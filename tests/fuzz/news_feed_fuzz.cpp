// The news feed comes from the network into every application that uses the input method. The
// parse must take any bytes, give only entries the news line can show, and read back what it gives
// when the entries are written out again.

#include <cstdint>
#include <string>

#include "online/news_feed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  std::string_view feed(reinterpret_cast<const char*>(data), size);
  std::vector<tvime::NewsEntry> entries = tvime::ParseNewsFeed(feed);
  // One entry at most per line the reader sees; a line is at most 1023 bytes.
  if (entries.size() > size / 5 + 1) __builtin_trap();
  std::string written;
  // Written out again, the entries read back the same, unless a line grows past the reader's
  // buffer or an address ends in a CR (which a line end would then take).
  bool readsBack = true;
  for (const tvime::NewsEntry& entry : entries) {
    for (const std::string* field : {&entry.text, &entry.url}) {
      if (field->empty() || field->size() > 1023) __builtin_trap();
      if (field->find_first_of("\t\n") != std::string::npos) __builtin_trap();
    }
    std::string line = "1\t" + entry.text + "\t" + entry.url;
    if (line.size() > 1022 || entry.url.back() == '\r') readsBack = false;
    written += line + "\n";
  }
  if (readsBack && tvime::ParseNewsFeed(written) != entries) __builtin_trap();
  return 0;
}
