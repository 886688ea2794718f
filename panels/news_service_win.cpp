// The news line's source: the process's background service, fed with the feed file's place, the
// built-in feed and the ad server of this installation.

#include <atomic>

#include "base/gbk.h"
#include "base/module_resources_win.h"
#include "base/user_data_path_win.h"
#include "online/background_service_win.h"
#include "panels/panel_windows_win.h"
#include "resources/resource_ids.h"
#include "update/update_server.h"

namespace tvime {
namespace {

constexpr int kBuiltInFeed = IDR_NEWS_FEED;
constexpr int kHtmlResource = 23;  // RT_HTML: the feed is text
constexpr char kFeedFile[] = "netads.txt";

std::atomic<bool> g_asked{false};

}  // namespace

void StartNewsService() {
  PanelWindows& w = *Windows();
  // Every sizing of a composition window asks; the first one starts the service.
  if (w.secureDesktop || !w.news || g_asked.exchange(true)) return;
  NewsService service;
  service.feedPath = UserDataPath(kFeedFile);
  if (auto bytes = FindModuleResource(w.resources, kBuiltInFeed, kHtmlResource)) {
    service.builtInFeed = Utf8ToGbk({reinterpret_cast<const char*>(bytes->data()), bytes->size()});
  }
  service.adServer = ProductSiteOf(*w.settings);
  NewsLine* news = w.news;
  service.show = [news](std::vector<NewsEntry> entries) { news->SetEntries(std::move(entries)); };
  if (!StartBackgroundService(std::move(service))) g_asked = false;
}

}  // namespace tvime
