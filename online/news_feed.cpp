#include "online/news_feed.h"

namespace tvime {
namespace {

// The 1024-byte line buffer of the feed's reader, less its terminating NUL.
constexpr size_t kLineLimit = 1023;

// The next line of `rest` as the reader sees it, without its line end; `rest` moves past it.
std::string_view NextLine(std::string_view& rest) {
  size_t end = rest.find('\n');
  size_t taken = end == std::string_view::npos ? rest.size() : end;
  if (taken >= kLineLimit) {
    // The buffer fills before the line ends: its remainder is read as the next line.
    std::string_view line = rest.substr(0, kLineLimit);
    rest.remove_prefix(kLineLimit);
    return line;
  }
  std::string_view line = rest.substr(0, taken);
  rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  while (!line.empty() && fields.size() < 3) {
    size_t tab = line.find('\t');
    std::string_view field = line.substr(0, tab);
    if (!field.empty()) fields.push_back(field);
    line.remove_prefix(tab == std::string_view::npos ? line.size() : tab + 1);
  }
  return fields;
}

bool IsAbsolute(std::string_view url) { return url.find("://") != std::string_view::npos; }

}  // namespace

std::vector<NewsEntry> ParseNewsFeed(std::string_view contents) {
  std::vector<NewsEntry> entries;
  while (!contents.empty()) {
    std::vector<std::string_view> fields = Fields(NextLine(contents));
    if (fields.size() == 3) entries.push_back({std::string(fields[2]), std::string(fields[1])});
  }
  return entries;
}

std::vector<NewsEntry> NewsEntriesWithFallback(std::vector<NewsEntry> fromFile,
                                               std::string_view builtInFeed) {
  if (fromFile.size() >= 2) return fromFile;
  return ParseNewsFeed(builtInFeed);
}

std::string NewsClickUrl(const NewsEntry& entry, std::string_view adServer,
                         std::string_view userId) {
  std::string url = IsAbsolute(entry.url) ? entry.url : std::string(adServer) + entry.url;
  return url + "&userid=" + std::string(userId);
}

std::string NewsFeedUrl(std::string_view adServer, std::string_view userId) {
  return std::string(adServer) + "netads/netads.php?userid=" + std::string(userId);
}

}  // namespace tvime
