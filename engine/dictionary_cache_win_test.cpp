// The user's shared image of the decoded dictionaries, as processes make and map it: made once
// and mapped by every later process, made again when damaged or stale, never made by a process
// that may not, and safe when several processes race to make it.

#include "engine/dictionary_cache_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

#include "base/module_resources_win.h"
#include "engine/lexicon.h"
#include "tests/support/program_folder_win.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

constexpr std::uint64_t kBuild = 0x1234;

class SharedDictionariesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dll = LoadLibraryA("tvime-testdict.dll");
    ASSERT_TRUE(dll) << "tvime-testdict.dll not found next to the test";
    stored.emplace(dll);
  }
  void TearDown() override {
    stored.reset();
    if (dll) FreeLibrary(dll);
  }

  std::unique_ptr<ResourceSource> Open(bool mayCreate, std::uint64_t build = kBuild) {
    return OpenSharedDictionaries(*stored, folder.path().wstring(), build, mayCreate);
  }
  // The folder's file names.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
  std::filesystem::path OnlyImage() const {
    std::vector<std::string> names = Files();
    return names.size() == 1 ? folder.path() / names[0] : std::filesystem::path();
  }
  // Changes the byte in the middle of the file, as a damaged disk or another program would.
  static void DamageTheMiddle(const std::filesystem::path& image) {
    std::fstream file(image, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(std::filesystem::file_size(image) / 2));
    file.put('\x5A');
  }
  static size_t PhraseCount(const ResourceSource& source) {
    Lexicon lexicon(nullptr);
    lexicon.Initialize(&source);
    return lexicon.phrases().count;
  }

  HMODULE dll = nullptr;
  std::optional<ModuleResources> stored;
  testing::TempDir folder;
};

TEST_F(SharedDictionariesTest, MadeOnceThenMappedByEveryLaterProcessAndUsedInPlace) {
  auto first = Open(true);
  ASSERT_TRUE(first);
  std::filesystem::path image = OnlyImage();
  ASSERT_FALSE(image.empty()) << "one image and no leftovers";
  EXPECT_EQ(image.extension(), ".bin");
  auto written = std::filesystem::last_write_time(image);

  auto second = Open(false);
  ASSERT_TRUE(second) << "an existing image is mapped by a process that may not make one";
  EXPECT_EQ(std::filesystem::last_write_time(image), written);
  EXPECT_TRUE(second->Decoded("phrase.bin"));
  EXPECT_NE(second->FindData("phrase.bin")->data(), first->FindData("phrase.bin")->data())
      << "each process has a view of its own";
  size_t own = PhraseCount(*stored);
  EXPECT_GT(own, 100000u);
  EXPECT_EQ(PhraseCount(*second), own);

  // The first process ends; the others go on with their views.
  first.reset();
  EXPECT_EQ(PhraseCount(*second), own);
}

// Wine keeps Unix permissions, not the access list a file is made with: the descriptor the image
// is made with is checked as Windows applies it.
TEST(UserOnlyAccess, NamesTheUserAloneAndInheritsNothing) {
  UserOnlyAccess access;
  ASSERT_TRUE(access.attributes());
  EXPECT_EQ(access.attributes()->lpSecurityDescriptor, &access.descriptor());
  EXPECT_FALSE(access.attributes()->bInheritHandle);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  ASSERT_TRUE(GetSecurityDescriptorControl(const_cast<SECURITY_DESCRIPTOR*>(&access.descriptor()),
                                           &control, &revision));
  EXPECT_TRUE(control & SE_DACL_PROTECTED);
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  ASSERT_TRUE(GetSecurityDescriptorDacl(const_cast<SECURITY_DESCRIPTOR*>(&access.descriptor()),
                                        &present, &dacl, &defaulted));
  ASSERT_TRUE(present && dacl);
  ASSERT_EQ(dacl->AceCount, 1);
  void* ace = nullptr;
  ASSERT_TRUE(GetAce(dacl, 0, &ace));
  auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
  EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
  EXPECT_EQ(allowed->Mask, static_cast<DWORD>(FILE_ALL_ACCESS));
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
  alignas(8) BYTE user[256];
  DWORD size = 0;
  ASSERT_TRUE(GetTokenInformation(token, TokenUser, user, sizeof user, &size));
  CloseHandle(token);
  EXPECT_TRUE(EqualSid(&allowed->SidStart, reinterpret_cast<TOKEN_USER*>(user)->User.Sid));
}

TEST_F(SharedDictionariesTest, ADamagedImageIsNeverUsedAndIsMadeAgain) {
  ASSERT_TRUE(Open(true));
  std::filesystem::path image = OnlyImage();
  auto size = std::filesystem::file_size(image);
  DamageTheMiddle(image);
  EXPECT_FALSE(Open(false)) << "a damaged image was used";
  auto remade = Open(true);
  ASSERT_TRUE(remade);
  EXPECT_EQ(Files().size(), 1u);
  EXPECT_EQ(PhraseCount(*remade), PhraseCount(*stored));
  remade.reset();  // a mapped file cannot be cut

  std::filesystem::resize_file(image, size - 1);
  EXPECT_FALSE(Open(false)) << "a cut image was used";
}

// Later processes skip the hash of an image that a live process of the session has checked;
// a write to the file since then must not be covered by that check.
TEST_F(SharedDictionariesTest, AnImageWrittenAfterItsCheckIsCheckedAgainWhileOthersHoldIt) {
  auto holder = Open(true);
  ASSERT_TRUE(holder);
  std::filesystem::path image = OnlyImage();
  ASSERT_TRUE(Open(false));
  Sleep(50);  // the write below is later than the image's own, whatever the clock's step
  DamageTheMiddle(image);
  EXPECT_FALSE(Open(false)) << "a damaged image was used while another process held it";
}

TEST_F(SharedDictionariesTest, ANewBuildMakesItsOwnAndRemovesTheOldOneAndLeftovers) {
  ASSERT_TRUE(Open(true, kBuild));
  std::filesystem::path old = OnlyImage();
  // A maker ended half-way left its temporary file; another is still writing its own.
  std::ofstream(folder.path() / "dict-0-0.bin.77-1.tmp") << "half";
  std::filesystem::path busy = folder.path() / "dict-0-0.bin.78-1.tmp";
  HANDLE writing = CreateFileW(busy.wstring().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writing, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Open(false, kBuild + 1)) << "another build's image was used";
  ASSERT_TRUE(Open(true, kBuild + 1));
  EXPECT_FALSE(std::filesystem::exists(old));
  EXPECT_TRUE(std::filesystem::exists(busy)) << "a file being written was removed";
  CloseHandle(writing);
  EXPECT_EQ(Files().size(), 2u) << "the ended maker's file was left";
}

TEST_F(SharedDictionariesTest, AProcessThatMayNotMakeOneWritesNothing) {
  EXPECT_FALSE(Open(false));
  EXPECT_TRUE(Files().empty());
  EXPECT_FALSE(OpenSharedDictionaries(*stored, L"", kBuild, true)) << "no folder";
  // An ordinary process of a user may make one.
  EXPECT_TRUE(ProcessMayShareDictionaries());
}

// A browser's sandboxed renderer loads input methods too: at low integrity or in an app container
// it neither trusts an image that others made nor makes one. Wine has neither (it accepts a lowered
// level for a token and goes on reporting the old one), so the rule is tried on what a token says.
TEST(SharedDictionariesToken, OnlyOrdinaryOrMoreTrustedProcessesShare) {
  struct Case {
    bool inAppContainer;
    DWORD level;
    bool shares;
  };
  const Case cases[] = {
      {false, SECURITY_MANDATORY_MEDIUM_RID, true},
      {false, SECURITY_MANDATORY_MEDIUM_RID + 0x100, true},  // medium plus (UI access)
      {false, SECURITY_MANDATORY_HIGH_RID, true},
      {false, SECURITY_MANDATORY_SYSTEM_RID, true},
      {false, SECURITY_MANDATORY_LOW_RID, false},
      {false, SECURITY_MANDATORY_UNTRUSTED_RID, false},
      {true, SECURITY_MANDATORY_LOW_RID, false},
      {true, SECURITY_MANDATORY_MEDIUM_RID, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MayShareDictionaries(c.inAppContainer, c.level), c.shares)
        << c.inAppContainer << " " << std::hex << c.level;
  }
  HANDLE own = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &own));
  EXPECT_TRUE(TokenMayShareDictionaries(own));
  CloseHandle(own);
}

TEST_F(SharedDictionariesTest, MakersRacingAtOnceAllMapOneWholeImage) {
  std::atomic<int> mapped{0};
  std::vector<std::thread> racers;
  for (int i = 0; i < 6; ++i) {
    racers.emplace_back([&] {
      if (auto source = Open(true); source && source->Decoded("words.bin")) ++mapped;
    });
  }
  for (std::thread& racer : racers) racer.join();
  EXPECT_EQ(mapped, 6);
  EXPECT_EQ(Files().size(), 1u) << "a temporary file was left behind";
}

// Processes racing at their start, and one of them ending while the others go on: each of the
// test's children below maps the image (making it if none is there yet), says so, and looks
// phrases up in it again once told to.
constexpr char kRaceFolder[] = "TVIME_RACE_FOLDER";
constexpr wchar_t kRaceGo[] = L"Local\\tvime-test-race-go";
constexpr wchar_t kRaceMapped[] = L"Local\\tvime-test-race-mapped";
constexpr wchar_t kRaceEnd[] = L"Local\\tvime-test-race-end";

TEST(SharedDictionariesRace, DISABLED_RacingProcess) {
  HMODULE dll = LoadLibraryA("tvime-testdict.dll");
  ASSERT_TRUE(dll);
  ModuleResources stored(dll);
  const char* racing = std::getenv(kRaceFolder);
  ASSERT_TRUE(racing);
  HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, kRaceGo);
  HANDLE end = OpenEventW(SYNCHRONIZE, FALSE, kRaceEnd);
  HANDLE mapped = OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, kRaceMapped);
  ASSERT_TRUE(go && end && mapped);
  ASSERT_EQ(WaitForSingleObject(go, 30000), WAIT_OBJECT_0);
  std::filesystem::path folderPath(racing);
  auto source = OpenSharedDictionaries(stored, folderPath.wstring(), kBuild, true);
  ASSERT_TRUE(source && source->Decoded("phrase.bin"));
  Lexicon lexicon(nullptr);
  lexicon.Initialize(source.get());
  const size_t phrases = lexicon.phrases().count;
  ASSERT_GT(phrases, 0u);
  ReleaseSemaphore(mapped, 1, nullptr);
  ASSERT_EQ(WaitForSingleObject(end, 30000), WAIT_OBJECT_0);
  // The pages of a maker that has ended are still the image's.
  EXPECT_EQ(lexicon.phrases().count, phrases);
  EXPECT_FALSE(lexicon.AssociationsOf("\xD6\xD0").empty());  // 中
  EXPECT_FALSE(lexicon.CandidateText(static_cast<CandidateId>(phrases - 1)).empty());
}

TEST_F(SharedDictionariesTest, ProcessesRacingAtStartShareOneImageThatOutlivesAnyOfThem) {
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, kRaceGo);
  HANDLE end = CreateEventW(nullptr, TRUE, FALSE, kRaceEnd);
  HANDLE mapped = CreateSemaphoreW(nullptr, 0, 16, kRaceMapped);
  ASSERT_TRUE(go && end && mapped);
  SetEnvironmentVariableA(kRaceFolder, folder.path().string().c_str());
  std::vector<HANDLE> processes;
  for (int i = 0; i < 3; ++i) {
    processes.push_back(testing::StartOwnTest("SharedDictionariesRace.DISABLED_RacingProcess"));
    ASSERT_TRUE(processes.back());
  }
  SetEvent(go);
  for (size_t i = 0; i < processes.size(); ++i) {
    ASSERT_EQ(WaitForSingleObject(mapped, 60000), WAIT_OBJECT_0) << "a racer did not map";
  }
  EXPECT_EQ(Files().size(), 1u) << "racers left more than one image, or a temporary file";
  // One ends abruptly; the others go on using the image.
  TerminateProcess(processes[0], 3);
  EXPECT_EQ(testing::ExitCodeOf(processes[0], 10000), 3u);
  SetEvent(end);
  for (size_t i = 1; i < processes.size(); ++i) {
    EXPECT_EQ(testing::ExitCodeOf(processes[i]), 0u) << "racer " << i;
  }
  for (HANDLE handle : {go, end, mapped}) CloseHandle(handle);
  EXPECT_TRUE(Open(false)) << "the image did not outlive the processes that made and used it";
}

}  // namespace
}  // namespace tvime
