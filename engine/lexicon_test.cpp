#include "engine/lexicon.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/file_io.h"
#include "engine/test_lexicon.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

using testing::Char;
using testing::G;
using testing::Phrase;
using Words = std::vector<std::string>;

class RecordingClient : public LexiconClient {
 public:
  void ResetDisplayState() override { calls += "reset "; }
  void RefreshCandidates() override { calls += "refresh "; }
  void LoadPanelResources() override { calls += "panels "; }
  // As the session does: the lists it keeps follow the new numbering.
  void UserWordsChanged(const UserWordRenumbering& renumbering) override {
    calls += "words ";
    renumbering.Apply(assocList);
  }
  std::string calls;
  std::vector<CandidateId> assocList;
};

class LexiconTest : public ::testing::Test {
 protected:
  LexiconTest()
      : test({Char("一", "a", true, 900, "yī"), Char("中", "sgas", true, 990, "zhōng zhòng"),
              Char("丰", "aaas", false, 700)},
             {Phrase("中国", "zhong guo")}) {}

  Lexicon& Start(LexiconOptions options = {.bigCharset = true}) {
    test.options = options;
    return test.Start(UserData(), &client);
  }
  UserDataPathFn UserData() {
    return [this](std::string_view name) { return dir.File(std::string(name)); };
  }
  void WriteUserFile(const std::string& contents) {
    ASSERT_TRUE(ReplaceFileContents(dir.File("tvimeusr.txt"), contents));
  }
  Words FileWords(const std::string& name) {
    Words words;
    ReadWordFile(dir.File(name), words);
    return words;
  }

  testing::TempDir dir;
  testing::TestLexicon test;
  MemoryResources& resources = test.resources;
  CandidateLists& lists = test.lists;
  RecordingClient client;
};

TEST_F(LexiconTest, FirstInitializeLoadsEverythingLaterOnesOnlyClearAndRefresh) {
  WriteUserFile("\xCE\xD2\xC3\xC7\r\n");  // 我们
  Lexicon& lexicon = Start();
  // The user's words are read at their first use, so the start notifies no change of them.
  EXPECT_EQ(client.calls, "reset refresh panels ");
  EXPECT_EQ(lexicon.characters().count, 3u);
  EXPECT_EQ(lexicon.phrases().count, 1u);
  EXPECT_FALSE(lexicon.radicals().IsLoaded());  // absent resources stay empty
  EXPECT_EQ(lexicon.userWords(), (Words{"\xCE\xD2\xC3\xC7"}));

  client.calls.clear();
  WriteUserFile("");
  lexicon.Initialize(&resources);
  EXPECT_EQ(client.calls, "reset refresh ");
  EXPECT_EQ(lexicon.userWords().size(), 1u);  // not reread
}

TEST(Lexicon, WithoutResourcesEverySearchIsEmpty) {
  Lexicon lexicon(nullptr);
  MemoryResources none;
  lexicon.Initialize(&none);
  CandidateLists lists;
  lexicon.CharactersByStrokes("", lists.mainList);
  EXPECT_TRUE(lists.mainList.empty());
  EXPECT_EQ(lexicon.DescribeCandidate(ModeStrokes, 0), "");
  lexicon.FindRadicalsByStrokes("", lists);
  EXPECT_TRUE(lists.secondaryList.empty());
  lists.mainList = {1};
  lexicon.FindInRadicalGroup(0, "", lists);
  EXPECT_TRUE(lists.mainList.empty());
  EXPECT_EQ(lexicon.GroupCount(), 0u);
}

TEST_F(LexiconTest, StrokeSearchFollowsTheBigCharacterSetFlag) {
  Lexicon& lexicon = Start();
  lexicon.CharactersByStrokes("a", lists.mainList);
  EXPECT_EQ(lists.mainList, (std::vector<CandidateId>{0, 2}));
  lexicon.SetOptions({.bigCharset = false});
  lexicon.CharactersByStrokes("a", lists.mainList);
  EXPECT_EQ(lists.mainList, (std::vector<CandidateId>{0}));
}

TEST_F(LexiconTest, DescribesStrokeCandidatesOnly) {
  Lexicon& lexicon = Start();
  EXPECT_EQ(GbkToUtf8(lexicon.DescribeCandidate(ModeStrokes, 1)), "中: zhōng zhòng|sgas");
  EXPECT_EQ(GbkToUtf8(lexicon.DescribeCandidate(ModeIdle, 2)), "丰: |aaas");
  EXPECT_EQ(lexicon.DescribeCandidate(ModeStrokes, 3), "");
  EXPECT_EQ(lexicon.DescribeCandidate(ModeStrokes, kUserWordBit | 1), "");
  EXPECT_EQ(lexicon.DescribeCandidate(ModeAssociation, 1), "");
  EXPECT_EQ(lexicon.DescribeCandidate(ModeLetters, 1), "");
}

TEST_F(LexiconTest, AddUserWordRefusesShortDuplicateBuiltInAndMultiLineTexts) {
  Lexicon& lexicon = Start();
  EXPECT_FALSE(lexicon.AddUserWord(G("中")));
  EXPECT_FALSE(lexicon.AddUserWord("a"));
  EXPECT_FALSE(lexicon.AddUserWord(G("中国")));  // a built-in phrase
  EXPECT_FALSE(lexicon.AddUserWord(G("中\r\n国人")));
  EXPECT_TRUE(lexicon.AddUserWord(G("中国人")));
  EXPECT_FALSE(lexicon.AddUserWord(G("中国人")));  // already a user word
  EXPECT_TRUE(lexicon.AddUserWord("ab"));          // two UTF-16 units are enough
  EXPECT_FALSE(lexicon.AddUserWord(std::string(2048, 'a')));
  EXPECT_EQ(lexicon.userWords(), (Words{G("中国人"), "ab"}));
}

TEST_F(LexiconTest, TwoLexiconsOnOneFileKeepEachOthersWords) {
  // Two applications loaded the input method before either added a word.
  WriteUserFile("xy\r\n");
  Lexicon& lexicon = Start();
  Lexicon other(UserData());
  other.Initialize(&resources);
  ASSERT_TRUE(lexicon.AddUserWord(G("人民")));
  ASSERT_TRUE(lexicon.SaveUserWords());
  ASSERT_TRUE(other.AddUserWord(G("我们")));
  ASSERT_TRUE(other.SaveUserWords());
  Words reread = FileWords("tvimeusr.txt");
  EXPECT_EQ(reread, (Words{"xy", G("人民"), G("我们")}));
  EXPECT_EQ(other.userWords(), reread);
  // The first one's next save does not take back the other's word, and a reload shows it.
  ASSERT_TRUE(lexicon.AddUserWord(G("中午")));
  ASSERT_TRUE(lexicon.SaveUserWords());
  reread = FileWords("tvimeusr.txt");
  EXPECT_EQ(reread, (Words{"xy", G("人民"), G("我们"), G("中午")}));
  ASSERT_TRUE(other.LoadUserWords());
  EXPECT_EQ(other.userWords(), reread);
}

TEST_F(LexiconTest, WordsOfAFailedSaveStayPendingAndListsFollowTheNewNumbering) {
  WriteUserFile("ab\r\ncd\r\n");
  Lexicon& lexicon = Start();
  ASSERT_EQ(lexicon.AssociationsOf("a", ""), (std::vector<CandidateId>{kUserWordBit | 0}));
  client.assocList = {kUserWordBit | 1, 5, kUserWordBit | 0};  // cd, a phrase, ab
  // The manager removed ab and put ef in front.
  WriteUserFile("ef\r\ncd\r\n");
  ASSERT_TRUE(lexicon.AddUserWord("gh"));
  ASSERT_TRUE(lexicon.LoadUserWords());
  EXPECT_EQ(lexicon.userWords(), (Words{"ef", "cd", "gh"}));
  EXPECT_EQ(client.assocList, (std::vector<CandidateId>{kUserWordBit | 1, 5}));
  // A file that cannot be read is not overwritten; the word is saved once it can be.
  std::filesystem::remove(dir.File("tvimeusr.txt"));
  std::filesystem::create_directories(dir.File("tvimeusr.txt/x"));
  EXPECT_FALSE(lexicon.SaveUserWords());
  std::filesystem::remove_all(dir.File("tvimeusr.txt"));
  ASSERT_TRUE(lexicon.SaveUserWords());
  EXPECT_EQ(FileWords("tvimeusr.txt"), Words{"gh"});
}

TEST_F(LexiconTest, LearntChoicesLeadTheStrokeListOnlyWithLearningOn) {
  Lexicon& lexicon = Start();
  lexicon.NoteChoice(G("丰"));  // learning is off: nothing learnt, nothing saved
  lexicon.CharactersByStrokes("a", lists.mainList);
  EXPECT_EQ(lists.mainList, (std::vector<CandidateId>{0, 2}));  // 一, the exact match, first
  EXPECT_FALSE(std::filesystem::exists(dir.File("tvimelrn.txt")));

  lexicon.SetOptions({.bigCharset = true, .learnChoices = 1});
  lexicon.NoteChoice(G("丰"));
  lexicon.CharactersByStrokes("a", lists.mainList);
  EXPECT_EQ(lists.mainList, (std::vector<CandidateId>{2, 0}));
  EXPECT_EQ(FileWords("tvimelrn.txt"), Words{G("丰")});

  // Another process with learning on starts from the saved choices.
  Lexicon other(UserData());
  other.SetOptions({.bigCharset = true, .learnChoices = 1});
  other.Initialize(&resources);
  other.CharactersByStrokes("a", lists.mainList);
  EXPECT_EQ(lists.mainList, (std::vector<CandidateId>{2, 0}));
}

TEST_F(LexiconTest, ChoicesOfAFailedSaveStayPendingUntilTheFileCanBeWritten) {
  Lexicon& lexicon = Start({.bigCharset = true, .learnChoices = 1});
  std::filesystem::create_directories(dir.File("tvimelrn.txt/x"));
  lexicon.NoteChoice(G("丰"));
  lexicon.CharactersByStrokes("a", lists.mainList);
  EXPECT_EQ(lists.mainList, (std::vector<CandidateId>{2, 0}));  // learnt in memory all the same
  std::filesystem::remove_all(dir.File("tvimelrn.txt"));
  lexicon.NoteChoice(G("中国"));
  EXPECT_EQ(FileWords("tvimelrn.txt"), (Words{G("中国"), G("丰")}));
}

}  // namespace
}  // namespace tvime
