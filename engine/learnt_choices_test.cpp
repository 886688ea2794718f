// The learnt choices: their order, their cap, and how one process's choices join the file other
// processes write too.

#include "engine/learnt_choices.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/user_words.h"
#include "tests/support/temp_dir.h"

namespace tvime {
namespace {

using Texts = std::vector<std::string>;

TEST(LearntChoices, TheLastChoiceLeadsAndTheOldestGoesBeyondTheCap) {
  LearntChoices learnt;
  learnt.Note("a");
  learnt.Note("b");
  learnt.Note("a");  // chosen again: first once more, and not twice
  learnt.Note("");   // nothing to learn
  EXPECT_EQ(learnt.Texts(), (Texts{"a", "b"}));
  EXPECT_GT(learnt.StampOf("a"), learnt.StampOf("b"));
  EXPECT_EQ(learnt.StampOf("c"), 0u);

  for (size_t i = 0; i < kMaxLearntChoices; ++i) learnt.Note("w" + std::to_string(i));
  Texts texts = learnt.Texts();
  ASSERT_EQ(texts.size(), kMaxLearntChoices);
  EXPECT_EQ(texts.front(), "w" + std::to_string(kMaxLearntChoices - 1));
  EXPECT_EQ(learnt.StampOf("a"), 0u);  // the two oldest went
  EXPECT_EQ(learnt.StampOf("b"), 0u);
  EXPECT_NE(learnt.StampOf("w0"), 0u);
}

TEST(LearntChoices, AFileListIsTakenMostRecentFirstWithoutRepeatsAndCut) {
  Texts file{"x", "y", "x", "", "z"};
  for (size_t i = 0; i < kMaxLearntChoices; ++i) file.push_back("old" + std::to_string(i));
  LearntChoices learnt;
  learnt.Replace(file);
  Texts texts = learnt.Texts();
  ASSERT_EQ(texts.size(), kMaxLearntChoices);
  EXPECT_EQ(Texts(texts.begin(), texts.begin() + 4), (Texts{"x", "y", "z", "old0"}));
  EXPECT_EQ(learnt.StampOf("old" + std::to_string(kMaxLearntChoices - 3)), 0u);
}

TEST(LearntChoices, PromotionPutsLearntEntriesFirstAndKeepsTheRestInOrder) {
  LearntChoices learnt;
  std::vector<int> list{1, 2, 3, 4, 5};
  auto text = [](int n) { return std::to_string(n); };
  learnt.Promote(list, text);
  EXPECT_EQ(list, (std::vector<int>{1, 2, 3, 4, 5}));  // nothing learnt: as it was
  learnt.Note("4");
  learnt.Note("2");
  learnt.Note("9");  // not in this list
  learnt.Promote(list, text);
  EXPECT_EQ(list, (std::vector<int>{2, 4, 1, 3, 5}));
}

TEST(LearntChoicesFile, ChoicesJoinWhatOtherProcessesSavedAndAnUnreadableFileIsKept) {
  testing::TempDir dir;
  std::string path = dir.File("tvimelrn.txt");
  Texts merged;
  // No file yet: the choices make it.
  ASSERT_TRUE(MergeChoicesIntoFile(path, {"a", "b"}, merged, nullptr));
  EXPECT_EQ(merged, (Texts{"b", "a"}));
  // Another process saved "c" meanwhile; this one chose "a" again.
  ASSERT_TRUE(WriteWordFile(path, {"c", "b", "a"}));
  ASSERT_TRUE(MergeChoicesIntoFile(path, {"a"}, merged, nullptr));
  EXPECT_EQ(merged, (Texts{"a", "c", "b"}));
  Texts reread;
  ReadWordFile(path, reread);
  EXPECT_EQ(reread, merged);

  std::filesystem::remove(path);
  std::filesystem::create_directories(path + "/x");  // there, but no file to read
  EXPECT_FALSE(MergeChoicesIntoFile(path, {"d"}, merged, nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
}  // namespace tvime
