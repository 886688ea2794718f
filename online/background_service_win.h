#pragma once
// The background service of a process that shows the panels: once an hour it refreshes the news
// feed, and it starts the updater when the last update run is four hours old. One thread per
// process, however often it is asked for.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "online/news_feed.h"
#include "settings/settings.h"

namespace tvime {

struct NewsService {
  std::string feedPath;     // "netads.txt" in the user's data directory
  std::string builtInFeed;  // GBK, shown when the file gives fewer than two entries
  std::string adServer;     // ends in "/"
  // Receives each refresh's entries, on the service's thread.
  std::function<void(std::vector<NewsEntry>)> show;
  // The settings the service reads and writes; nullptr for the registry (the service then opens
  // its own store, apart from the panel thread's).
  SettingsStore* store = nullptr;
};

// Starts the service with its first pass at once; only the first call of the process starts it
// (true then).
bool StartBackgroundService(NewsService news);

// Ends the service: it hands over no entries from the moment this returns, and its thread ends
// once its current pass is done. Called before the module is unloaded or the program's windows
// are destroyed.
void StopBackgroundService();

// One refresh. A feed file less than an hour old by "NetAds.Update" is read as it is; otherwise
// the feed is downloaded beside it and replaces it only when the download is complete, so that a
// failed one leaves the last feed (the file is shared by every process of the user). Then
// "NetAds.Update" becomes `now`, whatever the download did.
void updateNewsFeed(Settings& settings, const NewsService& news, std::uint32_t now);

// Starts "tvimeup.exe" hidden, without arguments (a silent run), when "Exec.Update" is four hours
// old or more; true when it was started.
bool launchUpdaterIfDue(const Settings& settings, std::uint32_t now);

}  // namespace tvime
