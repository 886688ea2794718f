// The browser start and the background service under Wine: pages reach a stand-in browser that
// records them, and the news feed comes from the test server (nginx on a loopback port).

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "base/file_io.h"
#include "base/gbk.h"
#include "online/background_service_win.h"
#include "online/open_url_win.h"
#include "settings/settings.h"
#include "tests/support/file_contents.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

using namespace std::chrono_literals;

std::string Port() {
  std::string text = testing::FileContents(std::string(TVIME_UPDATE_SERVER_ROOT) + "\\port");
  return text.substr(0, text.find_first_not_of("0123456789"));
}

std::string AdServer(const std::string& kind) {
  return "http://127.0.0.1:" + Port() + "/" + kind + "/";
}

// The addresses the stand-in browser was given, once `count` have arrived or 20 seconds passed.
std::vector<std::string> OpenedPages(size_t count) {
  std::vector<std::string> lines;
  for (auto waited = 0ms; waited < 20s; waited += 100ms) {
    std::string log = testing::FileContents(TVIME_BROWSER_LOG);
    lines.clear();
    for (size_t start = 0, end; (end = log.find('\n', start)) != std::string::npos;
         start = end + 1) {
      lines.push_back(log.substr(start, end - start));
    }
    if (lines.size() >= count) break;
    std::this_thread::sleep_for(100ms);
  }
  return lines;
}

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteFileA(TVIME_BROWSER_LOG);
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", "Browsers", REG_SZ,
                              TVIME_BROWSER, sizeof TVIME_BROWSER),
              ERROR_SUCCESS);
  }
};

TEST_F(BrowserTest, TheBrowserGetsTheAddressWhileTheCallerGoesOnAtOnce) {
  std::string page = "http://127.0.0.1:9/search?ie=gbk&word=%D6%D0%B9%FA";
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(openUrl(page));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms) << "openUrl waited for the browser";
  EXPECT_EQ(OpenedPages(1), std::vector<std::string>{page});
}

TEST_F(BrowserTest, AProcessThatRefusesWebPagesOpensNone) {
  RefuseWebPages();
  EXPECT_FALSE(openUrl("http://127.0.0.1:9/refused"));
  EXPECT_FALSE(openUrl(""));
  std::this_thread::sleep_for(1s);
  EXPECT_EQ(testing::FileContents(TVIME_BROWSER_LOG), "");
}

// The news feed and the updater start, with the settings in memory.
class BackgroundServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Port().empty()) << "the test server is not running";
    news.feedPath = folder.File("netads.txt");
    news.builtInFeed = "-1\tbuilt-in one\tnetads/ad.php?id=-1\n-2\tbuilt-in two\tx\n";
    news.adServer = AdServer("feed");
    news.show = [this](std::vector<NewsEntry> entries) { shown = std::move(entries); };
  }

  std::vector<std::string> ShownTexts() const {
    std::vector<std::string> texts;
    for (const NewsEntry& entry : shown) texts.push_back(entry.text);
    return texts;
  }

  testing::TempDir folder;
  MemorySettingsStore store;
  Settings settings{store};
  NewsService news;
  std::vector<NewsEntry> shown;
  static constexpr std::uint32_t kNow = 2'000'000'000;
};

TEST_F(BackgroundServiceTest, AStaleFeedIsDownloadedShownAndItsTimeNoted) {
  settings.Write(setting::NetAdsUpdate, kNow - 3600);
  updateNewsFeed(settings, news, kNow);
  EXPECT_EQ(ShownTexts(), (std::vector<std::string>{Utf8ToGbk("新闻一"), "second", "third"}));
  EXPECT_EQ(shown[0].url, "http://127.0.0.1/netads/ad.php?id=11");
  EXPECT_EQ(static_cast<std::uint32_t>(settings.Read(setting::NetAdsUpdate)), kNow);
  EXPECT_EQ(folder.EntryCount(), 1u) << "the download was left beside the feed";
}

// The last feed is shown when it is fresh (the server is not asked) and when it is stale and the
// download fails (the feed is kept, and the time noted: it is not tried again within the hour).
TEST_F(BackgroundServiceTest, TheLastFeedShowsWhenFreshOrWhenItsDownloadFails) {
  const std::string last = "1\tmine\tu1\n2\tours\tu2\n";
  for (std::uint32_t updated : {kNow - 3599, 0u}) {
    SCOPED_TRACE(updated);
    ASSERT_TRUE(ReplaceFileContents(news.feedPath, last));
    settings.Write(setting::NetAdsUpdate, updated);
    news.adServer = AdServer("nofeed");  // a request fails
    updateNewsFeed(settings, news, kNow);
    EXPECT_EQ(ShownTexts(), (std::vector<std::string>{"mine", "ours"}));
    EXPECT_EQ(testing::FileContents(news.feedPath), last);
    EXPECT_EQ(folder.EntryCount(), 1u);
    EXPECT_EQ(static_cast<std::uint32_t>(settings.Read(setting::NetAdsUpdate)),
              updated == 0 ? kNow : updated);
  }
}

TEST_F(BackgroundServiceTest, WithoutAnyFeedTheBuiltInEntriesShow) {
  news.adServer = "http://tvime.invalid/";
  updateNewsFeed(settings, news, kNow);
  EXPECT_EQ(ShownTexts(), (std::vector<std::string>{"built-in one", "built-in two"}));
  ASSERT_TRUE(ReplaceFileContents(news.feedPath, "1\tonly one\tu1\n"));
  updateNewsFeed(settings, news, kNow + 7200);
  EXPECT_EQ(ShownTexts(), (std::vector<std::string>{"built-in one", "built-in two"}));
}

TEST_F(BackgroundServiceTest, TheUpdaterStartsOnlyWhenFourHoursHavePassedAndItIsInstalled) {
  // Any small program that ends at once stands in for the updater.
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  ASSERT_TRUE(CopyFileA((std::string(system) + "\\hostname.exe").c_str(),
                        folder.File("tvimeup.exe").c_str(), FALSE));
  settings.Write(setting::Path, folder.path().string());
  settings.Write(setting::ExecUpdate, kNow - 4 * 3600 + 1);
  EXPECT_FALSE(launchUpdaterIfDue(settings, kNow));
  settings.Write(setting::ExecUpdate, kNow - 4 * 3600);
  EXPECT_TRUE(launchUpdaterIfDue(settings, kNow));
  // A time ahead of the clock (one set back) counts as long ago: the difference is unsigned.
  settings.Write(setting::ExecUpdate, kNow + 60);
  EXPECT_TRUE(launchUpdaterIfDue(settings, kNow));
}

TEST_F(BackgroundServiceTest, OneServicePerProcessWhoeverAsksAndItsFirstPassRunsAtOnce) {
  // The service runs on the clock: the updater ran a moment ago, so it is not due and nothing is
  // started. (A time ahead of the clock would count as long ago, and start the updater.)
  settings.Write(setting::ExecUpdate, static_cast<std::int32_t>(time(nullptr)));
  news.store = &store;
  std::atomic<int> passes{0};
  news.show = [&passes](std::vector<NewsEntry> entries) {
    if (entries.size() == 3) ++passes;
  };
  std::atomic<int> started{0};
  std::vector<std::thread> askers;
  for (int i = 0; i < 4; ++i) {
    askers.emplace_back([&] { started += StartBackgroundService(news) ? 1 : 0; });
  }
  for (std::thread& asker : askers) asker.join();
  EXPECT_EQ(started, 1);
  for (auto waited = 0ms; passes == 0 && waited < 15s; waited += 50ms) {
    std::this_thread::sleep_for(50ms);
  }
  EXPECT_EQ(passes, 1);
  StopBackgroundService();
}

}  // namespace
}  // namespace tvime
