#include "online/background_service_win.h"

#include <windows.h>

#include <atomic>
#include <ctime>
#include <mutex>

#include "base/file_io.h"
#include "base/module_thread_win.h"
#include "base/program_location_win.h"
#include "settings/registry_settings_store_win.h"
#include "update/update_agent_win.h"

namespace tvime {
namespace {

constexpr DWORD kPassPeriodMs = 3600 * 1000;
constexpr std::uint32_t kFeedFreshSeconds = 3600;
constexpr std::uint32_t kUpdaterDueSeconds = 4 * 3600;
constexpr char kUpdaterFile[] = "tvimeup.exe";

std::atomic<bool> g_started{false};
HANDLE g_stop = nullptr;  // set when the service is to end
// Held while the service hands entries over: once StopBackgroundService has returned, nothing is
// handed to a news line that its program may be destroying.
std::mutex g_showing;
bool g_stopped = false;

std::uint32_t Now() { return static_cast<std::uint32_t>(time(nullptr)); }

void RunService(NewsService news) {
  RegistrySettingsStore registry;
  Settings settings(news.store ? *news.store : registry);
  auto show = std::move(news.show);
  news.show = [&show](std::vector<NewsEntry> entries) {
    std::lock_guard lock(g_showing);
    if (!g_stopped && show) show(std::move(entries));
  };
  do {
    // A fault in one pass must not end the service, nor the application it runs in.
    try {
      updateNewsFeed(settings, news, Now());
    } catch (...) {
    }
    try {
      launchUpdaterIfDue(settings, Now());
    } catch (...) {
    }
  } while (WaitForSingleObject(g_stop, kPassPeriodMs) == WAIT_TIMEOUT);
}

}  // namespace

bool StartBackgroundService(NewsService news) {
  if (g_started.exchange(true)) return false;
  g_stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (g_stop && StartModuleThread([news = std::move(news)] { RunService(news); })) return true;
  // Nothing runs: a later request may try again.
  if (g_stop) CloseHandle(g_stop);
  g_stop = nullptr;
  g_started = false;
  return false;
}

void StopBackgroundService() {
  std::lock_guard lock(g_showing);
  g_stopped = true;
  if (g_stop) SetEvent(g_stop);
}

void updateNewsFeed(Settings& settings, const NewsService& news, std::uint32_t now) {
  auto last = static_cast<std::uint32_t>(settings.Read(setting::NetAdsUpdate));
  bool fresh = now - last < kFeedFreshSeconds && IsExistingFile(news.feedPath);
  if (!fresh) {
    std::string download = news.feedPath + ".download";
    UpdateAgent agent(false);
    std::string url = NewsFeedUrl(news.adServer, settings.Read(setting::UserId));
    if (agent.DownloadToFile(url, download, false, kMaxNewsFeedBytes) == 0) {
      MoveFileExA(download.c_str(), news.feedPath.c_str(), MOVEFILE_REPLACE_EXISTING);
    } else {
      DeleteFileA(download.c_str());
    }
  }
  // A missing or unreadable file counts as an empty feed: the built-in entries show.
  std::vector<NewsEntry> entries;
  if (auto bytes = ReadWholeFile(news.feedPath)) {
    entries = ParseNewsFeed({reinterpret_cast<const char*>(bytes->data()), bytes->size()});
  }
  if (news.show) news.show(NewsEntriesWithFallback(std::move(entries), news.builtInFeed));
  if (!fresh) settings.Write(setting::NetAdsUpdate, static_cast<std::int32_t>(now));
}

bool launchUpdaterIfDue(const Settings& settings, std::uint32_t now) {
  auto last = static_cast<std::uint32_t>(settings.Read(setting::ExecUpdate));
  if (now - last < kUpdaterDueSeconds) return false;
  std::string updater = FindInstalledProgram(kUpdaterFile, settings.InstallDirectory());
  if (updater.empty()) return false;
  std::string commandLine = "\"" + updater + "\"";
  return WinExec(commandLine.c_str(), SW_HIDE) > 31;
}

}  // namespace tvime
