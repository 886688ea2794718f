// The update agent against a real HTTP server (nginx on a loopback port, started by the test
// fixture with directories the publish tool filled): a signed newer file is installed, and a
// tampered, unsigned or older one never is.

// Before windows.h, for the silent server.
#include <winsock2.h>

#include "update/update_agent_win.h"

#include <windows.h>

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "base/file_io.h"
#include "tests/support/file_contents.h"
#include "tests/support/program_folder_win.h"
#include "tests/support/silent_server_win.h"
#include "tests/support/temp_dir.h"
#include "update/background_update_win.h"
#include "update/file_swap_win.h"

namespace tvime {
namespace {

// The test server's port, which it chose when it started.
std::string Port() {
  static const std::string port = [] {
    std::string text = testing::FileContents(std::string(TVIME_UPDATE_SERVER_ROOT) + "\\port");
    return text.substr(0, text.find_first_not_of("0123456789"));
  }();
  return port;
}

std::string Server(const std::string& kind) {
  return "http://127.0.0.1:" + Port() + "/" + kind + "/updates/";
}

// The manager as the server publishes it under `kind`.
std::string Published(const std::string& kind) {
  return testing::FileContents(std::string(TVIME_UPDATE_SERVER_ROOT) + "\\" + kind +
                               "\\updates\\tvimedic.exe");
}

// An installed dictionary manager (version 1.0) in a folder of its own.
class UpdateAgentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Port().empty()) << "the update server is not running";
    installed = folder.File("tvimedic.exe");
    ASSERT_TRUE(
        CopyFileA((testing::ProgramFolder() + "tvimedic.exe").c_str(), installed.c_str(), FALSE));
    before = testing::FileContents(installed);
    ASSERT_EQ(fileVersionString(installed), "1.0");
  }

  UpdateResult Check(const std::string& kind) {
    return agent.CheckAndUpdate(Server(kind), nullptr, installed, "", "");
  }

  testing::TempDir folder;
  std::string installed, before;
  UpdateAgent agent{false};
};

// Also when the server sends the file without its length.
TEST_F(UpdateAgentTest, ASignedNewerFileIsInstalledWithoutABackupLeft) {
  ASSERT_TRUE(agent.IsOnline());
  for (const char* kind : {"good", "nolength"}) {
    SCOPED_TRACE(kind);
    ASSERT_TRUE(ReplaceFileContents(installed, before));  // version 1.0 again
    EXPECT_EQ(Check(kind), UpdateResult::Updated);
    EXPECT_EQ(fileVersionString(installed), "3.1");
    EXPECT_EQ(testing::FileContents(installed), Published("good"));
    EXPECT_EQ(folder.EntryCount(), 1u);
    EXPECT_EQ(Check(kind), UpdateResult::NoUpdate);  // up to date now: nothing more to do
  }
}

// Every way the server can send something other than the newest manager: the installed one
// stays, nothing is left beside it, and the agent says why. A refused mandatory update (3.1
// against 1.0) is Refused, never MustNotContinue: the program goes on with what it has.
TEST_F(UpdateAgentTest, EveryAttackOnTheManagerIsRefusedAndTheInstalledOneStays) {
  struct Attack {
    const char* kind;
    UpdateResult result;
    UpdateRefusal why;
  };
  const Attack attacks[] = {
      {"tampered", UpdateResult::Refused, UpdateRefusal::Damaged},
      {"unsigned", UpdateResult::Refused, UpdateRefusal::NotFromPublisher},
      {"replay", UpdateResult::Refused, UpdateRefusal::NotNewer},
      {"othername", UpdateResult::Refused, UpdateRefusal::NotFromPublisher},
      {"renamed", UpdateResult::Refused, UpdateRefusal::NotFromPublisher},
      {"longversion", UpdateResult::NoUpdate, UpdateRefusal::None},
      {"hugemanifest", UpdateResult::ManifestFailed, UpdateRefusal::None},
      {"bigmeta", UpdateResult::Refused, UpdateRefusal::TooLarge},
      {"bigfile", UpdateResult::Refused, UpdateRefusal::TooLarge},
      {"biglength", UpdateResult::Refused, UpdateRefusal::TooLarge},
      {"cut", UpdateResult::Refused, UpdateRefusal::Damaged},
      {"redirect", UpdateResult::Refused, UpdateRefusal::Damaged},
      {"expired", UpdateResult::Refused, UpdateRefusal::Expired},
      {"older", UpdateResult::NoUpdate, UpdateRefusal::None},
      {"nothing", UpdateResult::ManifestFailed, UpdateRefusal::None},
  };
  for (const Attack& attack : attacks) {
    SCOPED_TRACE(attack.kind);
    DWORD start = GetTickCount();
    UpdateAgent fresh(false);
    EXPECT_EQ(fresh.CheckAndUpdate(Server(attack.kind), nullptr, installed, "", ""), attack.result);
    EXPECT_EQ(fresh.lastRefusal(), attack.why);
    EXPECT_LT(GetTickCount() - start, 3000u) << "refusing took long: it read what it refused";
    EXPECT_EQ(testing::FileContents(installed), before);
    EXPECT_EQ(folder.EntryCount(), 1u);
  }
}

// The 100 MB file under the manager's statement: refused on its announced length, so the server
// sent little of it (what the socket buffers took), and nothing of it was kept in memory.
TEST_F(UpdateAgentTest, AnOversizedFileIsRefusedBeforeItIsDownloaded) {
  std::string access = std::string(TVIME_UPDATE_SERVER_ROOT) + "\\logs\\access.log";
  PROCESS_MEMORY_COUNTERS before{}, after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  EXPECT_EQ(Check("bigfile"), UpdateResult::Refused);
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  EXPECT_LT(after.PeakWorkingSetSize, before.PeakWorkingSetSize + 16 * 1024 * 1024);
  std::string log = testing::FileContents(access);
  size_t line = log.rfind("GET /bigfile/updates/tvimedic.exe ");
  ASSERT_NE(line, std::string::npos);
  // The combined log format: ... "GET ..." STATUS BYTES ...
  size_t status = log.find("\" ", line) + 2;
  long long bytesSent = std::atoll(log.c_str() + log.find(' ', status) + 1);
  std::cout << "bytes of the 100 MB file sent before it was refused: " << bytesSent << "\n";
  EXPECT_LT(bytesSent, 16ll * 1024 * 1024);
}

// A server that answers a byte a second holds the check no longer than its budget, whether it
// trickles the metadata or only the file.
TEST_F(UpdateAgentTest, AServerSendingAByteASecondEndsTheCheckWithinItsBudget) {
  for (const char* kind : {"trickle", "tricklefile"}) {
    SCOPED_TRACE(kind);
    DWORD start = GetTickCount();
    UpdateAgent fresh(false);
    EXPECT_EQ(fresh.CheckAndUpdate(Server(kind), nullptr, installed, "", ""),
              UpdateResult::Refused);
    EXPECT_EQ(fresh.lastRefusal(), UpdateRefusal::NoAnswer);
    DWORD spent = GetTickCount() - start;
    std::cout << kind << ": refused after " << spent << " ms\n";
    EXPECT_LT(spent, UpdateAgent::kCheckBudgetMs + UpdateAgent::kRequestTimeoutMs + 3000);
    EXPECT_EQ(testing::FileContents(installed), before);
  }
}

// A server that takes the connection and never answers: the request times out.
TEST_F(UpdateAgentTest, AServerThatNeverAnswersEndsTheCheckWithinTheRequestTimeout) {
  testing::SilentServer silent;
  ASSERT_NE(silent.port(), 0);
  DWORD start = GetTickCount();
  UpdateResult result =
      agent.CheckAndUpdate("http://127.0.0.1:" + std::to_string(silent.port()) + "/updates/",
                           nullptr, installed, "", "");
  DWORD spent = GetTickCount() - start;
  std::cout << "a silent server: the check ended after " << spent << " ms\n";
  EXPECT_TRUE(result == UpdateResult::OpenFailed || result == UpdateResult::ManifestFailed)
      << static_cast<int>(result);
  EXPECT_LT(spent, UpdateAgent::kCheckBudgetMs + 3000);
  EXPECT_EQ(testing::FileContents(installed), before);
}

// The start-up check of tvimegui and tvimedic: the program's thread is never held, and it hears
// of the end of the check by its message.
TEST_F(UpdateAgentTest, ABackgroundCheckReturnsAtOnceAndPostsItsEnd) {
  testing::SilentServer silent;
  HWND window =
      CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(window);
  constexpr UINT kEnded = WM_APP + 7;
  DWORD start = GetTickCount();
  {
    BackgroundUpdateCheck check("http://127.0.0.1:" + std::to_string(silent.port()) + "/updates/",
                                installed, "tvimedic.exe", window, kEnded);
    EXPECT_LT(GetTickCount() - start, 100u) << "starting the check held the caller";
    // The program ends while the server is silent: it waits a little, not for the server.
  }
  EXPECT_LT(GetTickCount() - start, BackgroundUpdateCheck::kEndWaitMs + 500);
  {
    BackgroundUpdateCheck check(Server("good"), installed, "tvimedic.exe", window, kEnded);
    MSG message{};
    DWORD start = GetTickCount();
    bool ended = false;
    while (!ended && GetTickCount() - start < 20000) {
      if (PeekMessageW(&message, window, kEnded, kEnded, PM_REMOVE)) ended = true;
      Sleep(10);
    }
    ASSERT_TRUE(ended);
    // Downloaded and verified, but not yet in place: that waits for the user's answer.
    EXPECT_EQ(testing::FileContents(installed), before);
  }
  // Never concluded: the verified download is not left in the temporary folder.
  DestroyWindow(window);
}

// https: the agent speaks TLS and checks the server's certificate. The test server's certificate
// is its own, which nothing trusts, so no manifest is read and nothing is installed. (Wine 8 takes
// its trusted roots from the Unix system's certificate files only; a certificate added to a
// Windows root store is not used, so the trusted case cannot be shown here without changing the
// machine.)
TEST_F(UpdateAgentTest, OverHttpsAServerWithAnUntrustedCertificateIsNotAskedAnything) {
  std::string port = testing::FileContents(std::string(TVIME_UPDATE_SERVER_ROOT) + "\\tls-port");
  port = port.substr(0, port.find_first_not_of("0123456789"));
  ASSERT_FALSE(port.empty());
  std::string access = std::string(TVIME_UPDATE_SERVER_ROOT) + "\\logs\\access.log";
  size_t requestsBefore = testing::FileContents(access).size();
  EXPECT_EQ(agent.CheckAndUpdate("https://127.0.0.1:" + port + "/good/updates/", nullptr, installed,
                                 "", ""),
            UpdateResult::OpenFailed);
  EXPECT_EQ(testing::FileContents(installed), before);
  // The handshake failed before any request: the server logged none.
  EXPECT_EQ(testing::FileContents(access).size(), requestsBefore);
}

// The input method fetching a missing dictionary manager: only a signed file is put in place.
TEST(UpdateAgentDownload, OnlyASignedProgramIsPutInPlace) {
  ASSERT_FALSE(Port().empty()) << "the update server is not running";
  testing::TempDir folder;
  std::string target = folder.File("tvimedic.exe");
  UpdateAgent agent(false);
  for (const char* kind : {"tampered", "unsigned", "othername", "renamed", "bigfile"}) {
    EXPECT_EQ(agent.DownloadSignedToFile(Server(kind) + "tvimedic.exe", target, false), 2) << kind;
  }
  EXPECT_EQ(folder.EntryCount(), 0u) << "a refused download left a file";
  // An existing file is not touched by a refused one.
  ASSERT_TRUE(ReplaceFileContents(target, "old"));
  EXPECT_EQ(agent.DownloadSignedToFile(Server("tampered") + "tvimedic.exe", target, false), 2);
  EXPECT_EQ(testing::FileContents(target), "old");
  EXPECT_EQ(agent.DownloadSignedToFile(Server("good") + "missing.exe", target, false), 2);
  EXPECT_EQ(agent.DownloadSignedToFile(Server("good") + "tvimedic.exe", target, false), 0);
  EXPECT_EQ(fileVersionString(target), "3.1");
  EXPECT_EQ(folder.EntryCount(), 1u);
}

// The news feed's download: whatever the server sends, no more than the limit is taken.
TEST(UpdateAgentDownload, APlainDownloadStopsAtItsLimit) {
  ASSERT_FALSE(Port().empty()) << "the update server is not running";
  testing::TempDir folder;
  std::string target = folder.File("feed.txt");
  UpdateAgent agent(false);
  DWORD start = GetTickCount();
  EXPECT_EQ(agent.DownloadToFile(Server("bigfile") + "tvimedic.exe", target, false, 64 * 1024), 2);
  EXPECT_EQ(agent.DownloadToFile(Server("biglength") + "tvimedic.exe", target, false, 64 * 1024),
            2);
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(agent.DownloadToFile(Server("good") + "tvimedic.exe.txt", target, false, 64 * 1024), 0);
  EXPECT_EQ(testing::FileContents(target), "3.1");
}

// Counts the blocks and says "cancel" from the second one on.
class CancellingSink : public ProgressSink {
 public:
  void onStart() override { ++starts; }
  void onProgress(std::int32_t received, std::int32_t total) override {
    ++blocks;
    lastReceived = received;
    lastTotal = total;
  }
  void onDone() override { ++dones; }
  bool isCancelled() override { return blocks >= 2; }
  int starts = 0, blocks = 0, dones = 0;
  std::int32_t lastReceived = 0, lastTotal = 0;
};

// At 1 MB/s the download is still running when the user cancels it.
TEST_F(UpdateAgentTest, ACancelledDownloadStopsAndInstallsNothing) {
  CancellingSink sink;
  DWORD start = GetTickCount();
  EXPECT_EQ(agent.CheckAndUpdate(Server("slow"), &sink, installed, "", ""),
            UpdateResult::MustNotContinue);
  EXPECT_LT(GetTickCount() - start, 3000u) << "the cancelled download went on";
  EXPECT_EQ(sink.starts, 1);
  EXPECT_EQ(sink.blocks, 2);
  EXPECT_EQ(sink.dones, 0);
  EXPECT_GT(sink.lastReceived, 0);
  EXPECT_LT(sink.lastReceived, static_cast<std::int32_t>(Published("good").size()));
  EXPECT_EQ(sink.lastTotal, static_cast<std::int32_t>(Published("good").size()));
  EXPECT_EQ(testing::FileContents(installed), before);
}

TEST_F(UpdateAgentTest, MissingServersAndProgramsFailWithTheirCodes) {
  EXPECT_EQ(agent.CheckAndUpdate("http://127.0.0.1:9/updates/", nullptr, installed, "", ""),
            UpdateResult::OpenFailed);
  EXPECT_EQ(agent.CheckAndUpdate(Server("good"), nullptr, folder.File("none.exe"), "", ""),
            UpdateResult::NoLocalVersion);
  EXPECT_EQ(testing::FileContents(installed), before);
}

// tvimegui's start-up pays for this check when nothing is published that is newer than itself.
TEST(UpdateAgentCost, ACheckWithNothingToUpdateTakesAFewMilliseconds) {
  ASSERT_FALSE(Port().empty()) << "the update server is not running";
  testing::TempDir folder;
  std::string installed = folder.File("tvimegui.exe");
  ASSERT_TRUE(
      CopyFileA((testing::ProgramFolder() + "tvimegui.exe").c_str(), installed.c_str(), FALSE));
  DWORD start = GetTickCount();
  UpdateAgent agent(false);
  UpdateResult result = agent.CheckAndUpdate(Server("good"), nullptr, installed, "", "");
  DWORD spent = GetTickCount() - start;
  EXPECT_EQ(result, UpdateResult::NoUpdate);
  std::cout << "a check with nothing to update: " << spent << " ms\n";
  EXPECT_LT(spent, 200u);  // about 30 ms here; a tenfold slowdown would show
}

}  // namespace
}  // namespace tvime
