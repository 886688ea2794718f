#include "update/update_rules.h"

#include <gtest/gtest.h>

#include <set>

namespace tvime {
namespace {

TEST(CompareVersions, NewerBuildsAreOptionalNewerMajorOrMinorMandatoryAndOlderNoUpdate) {
  EXPECT_EQ(compareVersions("3.1.0.1", "3.1"), kOptionalUpdate);  // local 3.1.0.0 reads as 3.1
  EXPECT_EQ(compareVersions("3.1.2", "3.1.1.9"), kOptionalUpdate);
  EXPECT_EQ(compareVersions("3.2", "3.1.0.9"), kMandatoryUpdate);
  EXPECT_EQ(compareVersions("4.0", "3.9.9.9"), kMandatoryUpdate);
  EXPECT_EQ(compareVersions("3.1", "3.1.0.0"), kSameVersion);
  // A lower major with a higher minor was once taken for a mandatory update.
  EXPECT_EQ(compareVersions("2.9", "3.0"), kServerOlder);
  EXPECT_EQ(compareVersions("3.0.5", "3.1"), kServerOlder);
  EXPECT_EQ(compareVersions("3.1.0.0", "3.1.0.1"), kServerOlder);
  EXPECT_EQ(compareVersions("3.1.9", "3.1.10"), kServerOlder);  // numbers, not texts
  EXPECT_EQ(ParseVersion("1.2"), (std::array<std::uint32_t, 4>{1, 2, 0, 0}));
  EXPECT_EQ(ParseVersion("65535.0.65535.1"), (std::array<std::uint32_t, 4>{65535, 0, 65535, 1}));
}

// Whatever the server sends as a version ends up in a question: only plain numbers pass.
TEST(CompareVersions, OnlyPlainNumbersBetweenSingleDotsAreAVersionOnEitherSide) {
  // Among them: a line end, five parts, nothing, a sign, and numbers too large.
  std::vector<std::string> malformed = {
      "3..1",       ".3.1",     "3.1.",       "3.65536",   "3.1 ", " 3.1", "+3.1", "3.1\r",
      "00000001.1", "1.2.3.4.", "3.1.0.26\n", "3.1.0.0.1", "",     "...",  "3.-1", "99999999999"};
  malformed.insert(malformed.end(), {"1.1" + std::string(3000, '.'), std::string(4096, '9')});
  for (const std::string& text : malformed) {
    EXPECT_FALSE(ParseVersion(text)) << text.substr(0, 40);
    EXPECT_EQ(compareVersions(text, "1.0"), kServerVersionMalformed) << text.substr(0, 40);
  }
  EXPECT_EQ(compareVersions("3.2", "v3"), kLocalVersionMalformed);
  EXPECT_EQ(compareVersions("x", "y"), kServerVersionMalformed);  // the server's is read first
  // The longest real version is 23 characters; one more leading zero is refused.
  EXPECT_TRUE(ParseVersion("65535.65535.65535.65535"));
  EXPECT_FALSE(ParseVersion("065535.65535.65535.6553"));
}

TEST(ManifestName, GivenElseTheRemoteOrLocalNameWithTxtWithoutItsFolder) {
  EXPECT_EQ(ManifestName("custom.txt", "tvimeup.exe", "C:\\x\\a.exe"), "custom.txt");
  EXPECT_EQ(ManifestName("", "tvimeup.exe", "C:\\x\\a.exe"), "tvimeup.exe.txt");
  EXPECT_EQ(ManifestName("", "", "C:\\Windows\\system32\\tvime30.ime"), "tvime30.ime.txt");
  EXPECT_EQ(ManifestName("", "", "tvimedic.exe"), "tvimedic.exe.txt");
  // A backslash at the very start is not a folder.
  EXPECT_EQ(ManifestName("", "\\name.exe", ""), "\\name.exe.txt");
}

TEST(VersionText, FourNumbersTwoWhenTheLastTwoAreZeroNoneForZero) {
  EXPECT_EQ(VersionText(0x00030001, 0x00020010), "3.1.2.16");
  EXPECT_EQ(VersionText(0x00030001, 0), "3.1");
  EXPECT_EQ(VersionText(0, 0x00000001), "0.0.0.1");
  EXPECT_EQ(VersionText(0, 0), "");
}

TEST(VersionText, ReadFromAProgramsBytes) {
  // A version resource as a resource compiler lays it out, inside other bytes.
  std::string key;
  for (char c : std::string_view("VS_VERSION_INFO")) key += {c, '\0'};
  std::string fixed(
      "\xBD\x04\xEF\xFE\x00\x00\x01\x00"   // signature, structure version
      "\x01\x00\x03\x00\x05\x00\x02\x00",  // 3.1, 2.5
      16);
  std::string program =
      "MZ..." + std::string(20, '\0') + key + std::string("\0\0\0\0", 4) + fixed + "more";
  EXPECT_EQ(VersionOfProgramBytes(program), "3.1.2.5");
  EXPECT_EQ(VersionOfProgramBytes("MZ without a version"), "");
  EXPECT_EQ(VersionOfProgramBytes(program.substr(0, program.size() - 10)), "");  // cut short
}

TEST(UpdateCheckDue, AfterFourHoursWhenAutomaticAndAfterFifteenDaysAnyway) {
  constexpr std::uint32_t kNow = 1'800'000'000;
  EXPECT_FALSE(UpdateCheckDue(kNow, kNow - 14400, false));
  EXPECT_TRUE(UpdateCheckDue(kNow, kNow - 14401, false));
  EXPECT_FALSE(UpdateCheckDue(kNow, kNow - 14401, true));
  EXPECT_FALSE(UpdateCheckDue(kNow, kNow - 1296000, true));
  EXPECT_TRUE(UpdateCheckDue(kNow, kNow - 1296001, true));
  EXPECT_TRUE(UpdateCheckDue(kNow, 0, false));  // never checked
  // A last check "in the future" (a clock set back) wraps to a huge elapsed time: due.
  EXPECT_TRUE(UpdateCheckDue(kNow, kNow + 10, false));
}

TEST(UpdateNames, BackupsAreNumberedWithTwoDigits) {
  EXPECT_EQ(BackupName("C:\\p\\tvimegui.exe", 0), "C:\\p\\tvimegui.exe.b00");
  EXPECT_EQ(BackupName("C:\\p\\tvimegui.exe", 9), "C:\\p\\tvimegui.exe.b09");
}

TEST(ProgressText, SpeedInBytesUpToAKilobyteThenKilobytes) {
  EXPECT_EQ(ProgressText(0, 100, 0), "0 字节 / 100 字节, 速度为 @ MB /秒");
  EXPECT_EQ(ProgressText(2048, 4096, 2), "2048 字节 / 4096 字节, 速度为 1024 B /秒");
  EXPECT_EQ(ProgressText(3075, 0, 3), "3075 字节 / 0 字节, 速度为 1.00 KB /秒");
  EXPECT_EQ(ProgressText(1536000, 2000000, 1),
            "1536000 字节 / 2000000 字节, 速度为 1500.00 KB /秒");
}

TEST(UpdateRefusal, EachReasonIsOneLineNamingTheFile) {
  std::set<std::string> texts;
  for (UpdateRefusal reason :
       {UpdateRefusal::Damaged, UpdateRefusal::NotFromPublisher, UpdateRefusal::NotNewer,
        UpdateRefusal::TooLarge, UpdateRefusal::NoAnswer, UpdateRefusal::Expired}) {
    std::string text = RefusalText("tvimedic.exe", reason);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.rfind("没有更新 tvimedic.exe：", 0), 0u) << text;
    texts.insert(text);
  }
  EXPECT_EQ(texts.size(), 6u) << "two reasons read the same";
  EXPECT_LT(RefusalText(std::string(5000, 'x'), UpdateRefusal::Damaged).size(), 200u);
}

TEST(UpdateRefusal, OnlyALaterVersionInAnyOfItsFourPartsIsNewer) {
  EXPECT_TRUE(IsLaterVersion({3, 1, 0, 1}, {3, 1, 0, 0}));
  EXPECT_TRUE(IsLaterVersion({4, 0, 0, 0}, {3, 9, 9, 9}));
  EXPECT_FALSE(IsLaterVersion({3, 1, 0, 0}, {3, 1, 0, 0}));
  EXPECT_FALSE(IsLaterVersion({0, 9, 0, 0}, {1, 0, 0, 0}));
  EXPECT_FALSE(IsLaterVersion({3, 0, 9, 9}, {3, 1, 0, 0}));
}

}  // namespace
}  // namespace tvime
