#pragma once
// The news feed "netads.txt": one entry per line, fields separated by TAB (id, display text,
// target address). GBK text, shared by every process of the user.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tvime {

struct NewsEntry {
  std::string url;   // the target address, which already carries a query part
  std::string text;  // shown in the hint strip, and as its tooltip
  bool operator==(const NewsEntry&) const = default;
};

// The entries of a feed. A line is read up to 1023 bytes (a longer one goes on as the next line);
// empty fields are skipped, fields after the third ignored, and a line with fewer than three
// fields is no entry. A CR before the LF is dropped, as a text-mode read drops it.
std::vector<NewsEntry> ParseNewsFeed(std::string_view contents);

// What the news line shows: the file's entries, unless it gives fewer than two, then the
// built-in feed's in their place.
std::vector<NewsEntry> NewsEntriesWithFallback(std::vector<NewsEntry> fromFile,
                                               std::string_view builtInFeed);

// The address a click opens: the entry's target and the user's identifier. A built-in entry's
// target is relative to the ad server (it cannot know the installation's server), so it is
// resolved against `adServer` (which ends in "/").
std::string NewsClickUrl(const NewsEntry& entry, std::string_view adServer,
                         std::string_view userId);

// The feed the ad server gives this user: "<adServer>netads/netads.php?userid=<id>".
std::string NewsFeedUrl(std::string_view adServer, std::string_view userId);

// The largest feed read: far more than the entries the news line rotates through, and a bound on
// what every application using the input method downloads and reads from the network.
inline constexpr std::uint64_t kMaxNewsFeedBytes = 256 * 1024;

}  // namespace tvime
