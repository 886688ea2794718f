// The update agent against a real HTTP server (nginx on a loopback port, started by the test
// fixture with directories the publish tool filled): a signed newer file is installed, and a
// tampered, unsigned or older one never is.

#include "update/update_agent_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "base/file_io.h"
#include "settings/registry_settings_store_win.h"
#include "settings/settings.h"
#include "tests/support/file_contents.h"
#include "tests/support/program_folder_win.h"
#include "tests/support/temp_dir.h"
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
    return agent.checkAndUpdate(Server(kind), nullptr, installed, "", "");
  }

  testing::TempDir folder;
  std::string installed, before;
  UpdateAgent agent{false};
};

TEST_F(UpdateAgentTest, ASignedNewerFileIsInstalledWithoutABackupLeft) {
  ASSERT_TRUE(agent.isOnline());
  EXPECT_EQ(Check("good"), UpdateResult::Updated);
  EXPECT_EQ(fileVersionString(installed), "3.1");
  EXPECT_EQ(testing::FileContents(installed),
            testing::FileContents(testing::ProgramFolder() + "tvimegui.exe"));
  EXPECT_EQ(folder.EntryCount(), 1u);
  // Up to date now: nothing more to do.
  EXPECT_EQ(Check("good"), UpdateResult::NoUpdate);
}

TEST_F(UpdateAgentTest, TamperedOrUnsignedFilesAreRefusedAndTheInstalledOneStays) {
  // 3.1 against 1.0 is mandatory: a refused download means the program must not go on.
  EXPECT_EQ(Check("tampered"), UpdateResult::MustNotContinue);
  EXPECT_EQ(testing::FileContents(installed), before);
  EXPECT_EQ(Check("unsigned"), UpdateResult::MustNotContinue);
  EXPECT_EQ(testing::FileContents(installed), before);
  EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST_F(UpdateAgentTest, AnOlderPublishedVersionIsNoUpdate) {
  EXPECT_EQ(Check("older"), UpdateResult::NoUpdate);
  EXPECT_EQ(testing::FileContents(installed), before);
}

TEST_F(UpdateAgentTest, ABodyWithoutALengthStillDownloads) {
  EXPECT_EQ(Check("nolength"), UpdateResult::Updated);
  EXPECT_EQ(fileVersionString(installed), "3.1");
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
  EXPECT_EQ(agent.checkAndUpdate("https://127.0.0.1:" + port + "/good/updates/", nullptr, installed,
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
  EXPECT_EQ(agent.downloadSignedToFile(Server("tampered") + "tvimedic.exe", target, false), 2);
  EXPECT_EQ(agent.downloadSignedToFile(Server("unsigned") + "tvimedic.exe", target, false), 2);
  EXPECT_EQ(folder.EntryCount(), 0u) << "a refused download left a file";
  // An existing file is not touched by a refused one.
  ASSERT_TRUE(ReplaceFileContents(target, "old"));
  EXPECT_EQ(agent.downloadSignedToFile(Server("tampered") + "tvimedic.exe", target, false), 2);
  EXPECT_EQ(testing::FileContents(target), "old");
  EXPECT_EQ(agent.downloadSignedToFile(Server("good") + "missing.exe", target, false), 2);
  EXPECT_EQ(agent.downloadSignedToFile(Server("good") + "tvimedic.exe", target, false), 0);
  EXPECT_EQ(fileVersionString(target), "3.1");
  EXPECT_EQ(folder.EntryCount(), 1u);
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

TEST_F(UpdateAgentTest, ACancelledDownloadStopsAtTheNextBlockAndInstallsNothing) {
  CancellingSink sink;
  EXPECT_EQ(agent.checkAndUpdate(Server("good"), &sink, installed, "", ""),
            UpdateResult::MustNotContinue);
  EXPECT_EQ(sink.starts, 1);
  EXPECT_EQ(sink.blocks, 2);
  EXPECT_EQ(sink.dones, 0);
  EXPECT_EQ(sink.lastReceived, 2 * 4096);
  EXPECT_EQ(sink.lastTotal,
            static_cast<std::int32_t>(
                testing::FileContents(testing::ProgramFolder() + "tvimegui.exe").size()));
  EXPECT_EQ(testing::FileContents(installed), before);
}

TEST_F(UpdateAgentTest, MissingManifestsAndServersFailWithTheirCodes) {
  EXPECT_EQ(agent.checkAndUpdate(Server("nothing"), nullptr, installed, "", ""),
            UpdateResult::ManifestFailed);
  EXPECT_EQ(agent.checkAndUpdate("http://127.0.0.1:9/updates/", nullptr, installed, "", ""),
            UpdateResult::OpenFailed);
  EXPECT_EQ(agent.checkAndUpdate(Server("good"), nullptr, folder.File("none.exe"), "", ""),
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
  UpdateResult result = agent.checkAndUpdate(Server("good"), nullptr, installed, "", "");
  DWORD spent = GetTickCount() - start;
  EXPECT_EQ(result, UpdateResult::NoUpdate);
  std::cout << "a check with nothing to update: " << spent << " ms\n";
  EXPECT_LT(spent, 200u);  // about 30 ms here; a tenfold slowdown would show
}

// tvimeup, run as the input method runs it (no arguments: silent), with the installation and
// the update server named in the machine's settings.
TEST(Tvimeup, ASilentRunUpdatesTheInstalledManagerAndNotesTheTime) {
  ASSERT_FALSE(Port().empty()) << "the update server is not running";
  testing::TempDir installation;
  std::string manager = installation.File("tvimedic.exe");
  ASSERT_TRUE(
      CopyFileA((testing::ProgramFolder() + "tvimedic.exe").c_str(), manager.c_str(), FALSE));
  RegistrySettingsStore store;
  Settings settings(store);
  std::string previousPath = settings.Read(setting::Path);
  std::string previousServer = settings.Read(setting::UpdateBaseUrl);
  settings.Write(setting::Path, installation.path().string());
  settings.Write(setting::UpdateBaseUrl, Server("good"));
  settings.Write(setting::ExecUpdate, 0);

  std::string program = testing::ProgramFolder() + "tvimeup.exe";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::string command = "\"" + program + "\"";
  ASSERT_TRUE(CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             installation.path().string().c_str(), &startup, &process));
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  EXPECT_EQ(code, 0u);
  EXPECT_EQ(fileVersionString(manager), "3.1");
  EXPECT_GT(settings.Read(setting::ExecUpdate), 0);
  settings.Write(setting::Path, previousPath);
  settings.Write(setting::UpdateBaseUrl, previousServer);
}

}  // namespace
}  // namespace tvime
