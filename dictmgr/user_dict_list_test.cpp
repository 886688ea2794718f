#include "dictmgr/user_dict_list.h"

#include <gtest/gtest.h>

#include "tests/support/gbk_literals.h"

namespace tvime {
namespace {

using testing::G;
using Words = std::vector<std::string>;

class UserDictListTest : public ::testing::Test {
 protected:
  void SetUp() override { list.Open({G("中国"), G("人民"), "Linux"}); }
  UserDictList list;
};

TEST_F(UserDictListTest, AWordNeedsTwoCharactersAndMustBeNewIgnoringLatinCase) {
  EXPECT_FALSE(list.modified());
  EXPECT_FALSE(list.AddWord(G("中"), -1));      // one character
  EXPECT_FALSE(list.AddWord(G("中国"), -1));    // already there
  EXPECT_FALSE(list.AddWord("LINUX", -1));      // the same, as the list box compares
  EXPECT_FALSE(list.AddWord(G("中\n国"), -1));  // would split the file
  EXPECT_FALSE(list.AddWord(std::string(1024, 'a'), -1));
  EXPECT_FALSE(list.modified());
  EXPECT_TRUE(list.AddWord(G("中国人民"), -1));  // a longer form of an entry is a new word
  EXPECT_TRUE(list.AddWord("ab", -1));
  EXPECT_TRUE(list.modified());
  EXPECT_EQ(list.words(), (Words{G("中国"), G("人民"), "Linux", G("中国人民"), "ab"}));
  // Case is folded on characters, not on GBK bytes: a second byte in the range of A-Z is not a
  // letter, and 獳 (AB 41) and 玜 (AB 61) differ.
  list.Open({"\xAB\x41\xAB\x41"});
  EXPECT_TRUE(list.AddWord("\xAB\x61\xAB\x61", -1));
}

TEST_F(UserDictListTest, AddingWithASelectionInsertsAboveIt) {
  EXPECT_EQ(list.AddTyped(G("我们"), 1), std::nullopt);
  EXPECT_EQ(list.words(), (Words{G("中国"), G("我们"), G("人民"), "Linux"}));
  EXPECT_EQ(list.AddTyped("", 0), std::string_view(manager_text::kEnterWord));
  EXPECT_EQ(list.AddTyped(G("中"), 0), std::string_view(manager_text::kNotAWord));
  EXPECT_EQ(list.AddTyped("xy", 99), std::nullopt);  // past the end: appended
  EXPECT_EQ(list.words().back(), "xy");
}

TEST_F(UserDictListTest, DeleteNeedsASelection) {
  EXPECT_EQ(list.Delete(-1), std::string_view(manager_text::kSelectToDelete));
  EXPECT_EQ(list.Delete(3), std::string_view(manager_text::kSelectToDelete));
  EXPECT_FALSE(list.modified());
  EXPECT_EQ(list.Delete(1), std::nullopt);
  EXPECT_EQ(list.words(), (Words{G("中国"), "Linux"}));
  EXPECT_TRUE(list.modified());
}

TEST_F(UserDictListTest, MovesStopAtTheEndsOfTheList) {
  EXPECT_EQ(list.MoveUp(0), std::nullopt);
  EXPECT_EQ(list.MoveDown(2), std::nullopt);
  EXPECT_EQ(list.MoveUp(-1), std::nullopt);
  EXPECT_EQ(list.MoveDown(-1), std::nullopt);
  EXPECT_FALSE(list.modified());
  EXPECT_EQ(list.MoveUp(2), 1);
  EXPECT_EQ(list.words(), (Words{G("中国"), "Linux", G("人民")}));
  EXPECT_EQ(list.MoveDown(0), 1);
  EXPECT_EQ(list.words(), (Words{"Linux", G("中国"), G("人民")}));
  EXPECT_TRUE(list.modified());
}

TEST_F(UserDictListTest, MergingSkipsWhatIsKnownOrInvalidAndRestoringMarksTheListModified) {
  EXPECT_EQ(list.Merge({G("中国"), "linux", G("人")}), 0u);
  EXPECT_FALSE(list.modified());
  EXPECT_EQ(list.Merge({G("新词"), G("中国"), G("新词")}), 1u);
  EXPECT_EQ(list.words().back(), G("新词"));
  list.Saved({G("新词")});
  EXPECT_FALSE(list.modified());
  list.Restore({"ab", "cd"});
  EXPECT_TRUE(list.modified());  // restore, then exit: the question is asked
  EXPECT_EQ(list.words(), (Words{"ab", "cd"}));
}

}  // namespace
}  // namespace tvime
