// The dictionary manager's dialog driven as a user drives it: a second thread types into the edit
// box, presses the buttons and reads the list box back while the dialog runs modally; questions,
// messages and file dialogs are answered by a script (needs a display).

#include "dictmgr/dict_manager_dialog_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <functional>
#include <iostream>

#include "base/wide_text_win.h"
#include "dictmgr/user_dict_list.h"
#include "engine/user_words.h"
#include "tests/support/file_contents.h"
#include "tests/support/gbk_literals.h"
#include "tests/support/message_loop_win.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win_thread.h"

namespace tvime {
namespace {

using testing::G;
using Words = std::vector<std::string>;

// Answers as the user would; records what the dialog said.
class ScriptedPrompts : public ManagerPrompts {
 public:
  int Message(HWND, std::string_view text, UINT type) override {
    messages.emplace_back(text);
    if ((type & MB_TYPEMASK) != MB_YESNO) return IDOK;
    int answer = answers.empty() ? IDNO : answers.front();
    if (!answers.empty()) answers.pop_front();
    return answer;
  }
  std::optional<std::string> OpenFile(HWND, std::string_view proposed) override {
    return File(proposed);
  }
  std::optional<std::string> SaveFile(HWND, std::string_view proposed) override {
    return File(proposed);
  }

  std::vector<std::string> messages;
  std::deque<int> answers;
  std::deque<std::optional<std::string>> files;
  std::vector<std::string> proposedNames;

 private:
  std::optional<std::string> File(std::string_view proposed) {
    proposedNames.emplace_back(proposed);
    if (files.empty()) return std::nullopt;
    auto file = files.front();
    files.pop_front();
    return file;
  }
};

// The user's hands, on another thread than the dialog's.
class User {
 public:
  explicit User(ScriptedPrompts& prompts) : prompts_(prompts) {}

  // Found once it shows, as a user sees it (it is found while being made, before that).
  bool FindDialog() {
    dialog_ = testing::WaitForShownWindow(L"#32770", L"用户词库设置");
    return dialog_ != nullptr;
  }
  HWND dialog() const { return dialog_; }
  void Type(const std::string& utf8) {
    SetDlgItemTextW(dialog_, kDictEdit, WideFromUtf8(utf8).c_str());
  }
  // The last thing the dialog said, after pressing a button.
  std::string Press(int id) {
    size_t before = prompts_.messages.size();
    SendMessageW(GetDlgItem(dialog_, id), BM_CLICK, 0, 0);
    return prompts_.messages.size() > before ? prompts_.messages.back() : std::string();
  }
  void Select(int index) {
    HWND list = GetDlgItem(dialog_, kDictList);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog_, WM_COMMAND, MAKEWPARAM(kDictList, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
  }
  std::vector<std::string> Shown() {
    HWND list = GetDlgItem(dialog_, kDictList);
    std::vector<std::string> items;
    auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
      SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      text.resize(text.size() - 1);
      items.push_back(Utf8FromWide(text));
    }
    return items;
  }
  std::string EditText() {
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog_, kDictEdit, text, 256);
    return Utf8FromWide(text);
  }
  bool Open() const { return IsWindow(dialog_) != FALSE; }

 private:
  ScriptedPrompts& prompts_;
  HWND dialog_ = nullptr;
};

class DictManagerDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setup.resources = GetModuleHandleW(nullptr);
    setup.prompts = &prompts;
    setup.wordFilePath = [this](std::string_view name) { return folder.File(std::string(name)); };
  }

  // Runs the dialog on this thread and `script` on a user's thread; the script's last press
  // should close the dialog (it is cancelled otherwise). The dialog's result.
  INT_PTR Run(const std::function<void(User&)>& script) {
    bool found = false;
    testing::WinThread user([&] {
      User hands(prompts);
      found = hands.FindDialog();
      if (!found) return;
      script(hands);
      if (hands.Open()) {
        prompts.answers.assign(4, IDYES);
        PostMessageW(hands.dialog(), WM_COMMAND, IDCANCEL, 0);
      }
    });
    INT_PTR result = RunDictManagerDialog(setup);
    EXPECT_TRUE(user.Join(30000));
    EXPECT_TRUE(found) << "the dialog did not show";
    return result;
  }

  std::string WordFile() const { return folder.File("tvimeusr.txt"); }

  testing::TempDir folder;
  ScriptedPrompts prompts;
  DictManagerSetup setup;
};

TEST_F(DictManagerDialogTest, AddDeleteMoveAndSaveAsAUserDoes) {
  ASSERT_TRUE(WriteWordFile(WordFile(), {G("中国"), G("人民")}));
  INT_PTR result = Run([](User& user) {
    EXPECT_EQ(user.Shown(), (Words{"中国", "人民"}));
    // With 人民 selected the new word goes above it.
    user.Select(1);
    EXPECT_EQ(user.EditText(), "人民");
    user.Type("我们");
    EXPECT_EQ(user.Press(kDictAdd), "");
    EXPECT_EQ(user.Shown(), (Words{"中国", "我们", "人民"}));
    user.Type("中");
    EXPECT_EQ(user.Press(kDictAdd), manager_text::kNotAWord);
    user.Type("");
    EXPECT_EQ(user.Press(kDictAdd), manager_text::kEnterWord);
    // The ends of the list.
    user.Select(0);
    EXPECT_EQ(user.Press(kDictMoveUp), manager_text::kSelectToMove);
    user.Select(2);
    EXPECT_EQ(user.Press(kDictMoveDown), manager_text::kSelectToMove);
    EXPECT_EQ(user.Press(kDictMoveUp), "");
    EXPECT_EQ(user.Shown(), (Words{"中国", "人民", "我们"}));
    user.Select(0);
    EXPECT_EQ(user.Press(kDictDelete), "");
    EXPECT_EQ(user.Shown(), (Words{"人民", "我们"}));
    EXPECT_EQ(user.Press(kDictDelete), manager_text::kSelectToDelete);  // nothing selected now
    EXPECT_EQ(user.Press(kDictSave), manager_text::kSaved);
    EXPECT_EQ(user.Press(kDictSave), manager_text::kNotModified);
    user.Press(IDOK);  // saved: no question
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(testing::FileContents(WordFile()), G("人民") + "\r\n" + G("我们") + "\r\n");
  EXPECT_EQ(prompts.messages.back(), manager_text::kNotModified);
}

TEST_F(DictManagerDialogTest, RestoreReplacesTheListAndLeavingUnsavedAsks) {
  ASSERT_TRUE(WriteWordFile(WordFile(), {G("中国")}));
  std::string backup = folder.File("backup.txt");
  ASSERT_TRUE(WriteWordFile(backup, {"ab", "cd"}));
  prompts.answers = {IDYES, IDNO, IDYES};  // restore; leave? no; leave? yes
  prompts.files = {backup};
  bool stayed = false;
  INT_PTR result = Run([&](User& user) {
    EXPECT_EQ(user.Press(kDictRestore), manager_text::kRestored);
    EXPECT_EQ(user.Shown(), (Words{"ab", "cd"}));
    EXPECT_EQ(user.Press(IDOK), manager_text::kExitQuestion);
    stayed = user.Open();
    user.Press(IDOK);
  });
  EXPECT_TRUE(stayed);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(prompts.messages[0], manager_text::kRestoreQuestion);
  EXPECT_EQ(prompts.proposedNames, Words{"tvimeusr.txt"});
  // Restored words reach the word file only when saved.
  EXPECT_EQ(testing::FileContents(WordFile()), G("中国") + "\r\n");
}

TEST_F(DictManagerDialogTest, MergingAddsOnlyNewWordsAndBackingUpWritesTheList) {
  ASSERT_TRUE(WriteWordFile(WordFile(), {G("中国"), "Linux"}));
  std::string known = folder.File("known.txt"), more = folder.File("more.txt");
  ASSERT_TRUE(WriteWordFile(known, {G("中国"), "LINUX", G("中")}));
  ASSERT_TRUE(WriteWordFile(more, {G("新词"), G("中国")}));
  std::string backup = folder.File("saved copy.txt");
  prompts.files = {known, more, backup};
  prompts.answers = {IDYES};
  Run([&](User& user) {
    EXPECT_EQ(user.Press(kDictMerge), manager_text::kMerged);
    EXPECT_EQ(user.Shown(), (Words{"中国", "Linux"}));
    EXPECT_EQ(user.Press(kDictMerge), manager_text::kMerged);
    EXPECT_EQ(user.Shown(), (Words{"中国", "Linux", "新词"}));
    EXPECT_EQ(user.Press(kDictBackup), manager_text::kBackedUp);
    EXPECT_EQ(user.Press(IDOK), manager_text::kExitQuestion);  // merged, not saved
  });
  EXPECT_EQ(testing::FileContents(backup), G("中国") + "\r\nLinux\r\n" + G("新词") + "\r\n");
  EXPECT_EQ(testing::FileContents(WordFile()), G("中国") + "\r\nLinux\r\n");
}

TEST_F(DictManagerDialogTest, SavingKeepsTheWordsAnApplicationAddedMeanwhile) {
  ASSERT_TRUE(WriteWordFile(WordFile(), {"ab", "cd"}));
  Run([&](User& user) {
    user.Select(0);
    user.Press(kDictDelete);
    // The input method in some application saves a word now.
    std::vector<std::string> merged;
    MergeIntoWordFile(WordFile(), {"xy"}, merged, nullptr);
    EXPECT_EQ(user.Press(kDictSave), manager_text::kSaved);
    EXPECT_EQ(user.Shown(), (Words{"cd", "xy"}));
    user.Press(IDOK);
  });
  EXPECT_EQ(testing::FileContents(WordFile()), "cd\r\nxy\r\n");
}

TEST_F(DictManagerDialogTest, DamagedFilesLoadWhatTheyCan) {
  std::string damaged = G("中国") + "\r\n\xFF\xFE\x81\r\n" + std::string("a\0b", 3) + "\n" +
                        std::string(5000, 'x') + "\r\n" + G("人民");  // no final line break
  std::ofstream(WordFile(), std::ios::binary) << damaged;
  size_t shown = 0;
  Run([&](User& user) {
    shown = user.Shown().size();
    user.Press(IDOK);
  });
  EXPECT_EQ(shown, 5u);
}

TEST_F(DictManagerDialogTest, AHundredThousandWordsLoadInUnderASecond) {
  std::vector<std::string> words;
  for (int n = 0; n < 100000; ++n) words.push_back(G("词") + std::to_string(n));
  ASSERT_TRUE(WriteWordFile(WordFile(), words));
  DWORD start = GetTickCount();
  DWORD loaded = 0;
  LRESULT count = 0;
  Run([&](User& user) {
    count = SendMessageW(GetDlgItem(user.dialog(), kDictList), LB_GETCOUNT, 0, 0);
    loaded = GetTickCount() - start;
    user.Press(IDOK);
  });
  EXPECT_EQ(count, 100000);
  std::cout << "100000 words shown after " << loaded << " ms\n";
  EXPECT_LT(loaded, 1000u);
}

TEST_F(DictManagerDialogTest, TheSystemMenuOpensTheAboutBox) {
  Run([](User& user) {
    HWND dialog = user.dialog();
    EXPECT_TRUE(IsDlgButtonChecked(dialog, kDictFirstFile));
    EXPECT_TRUE(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0));
    wchar_t about[128] = {};
    GetMenuStringW(GetSystemMenu(dialog, FALSE), kDictAboutCommand, about, 128, MF_BYCOMMAND);
    EXPECT_EQ(Utf8FromWide(about), "关于沃岚鼠标输入法 3.1 词库维护工具(&A)...");
    PostMessageW(dialog, WM_SYSCOMMAND, kDictAboutCommand, 0);
    HWND aboutBox = testing::WaitForShownWindow(L"#32770", L"关于沃岚鼠标输入法词库维护工具");
    ASSERT_TRUE(aboutBox);
    EXPECT_TRUE(
        FindWindowExW(aboutBox, nullptr, L"Static", L"沃岚鼠标输入法 3.1 词库维护工具  1.0"));
    SendMessageW(GetDlgItem(aboutBox, IDOK), BM_CLICK, 0, 0);
    for (int attempt = 0; attempt < 200 && IsWindow(aboutBox); ++attempt) Sleep(25);
    EXPECT_FALSE(IsWindow(aboutBox));
    user.Press(IDOK);
  });
}

TEST(DictManagerPrompts, MessagesCarryTheProgramsTitle) {
  wchar_t title[128] = {};
  testing::WinThread answerer([&] {
    if (HWND box = testing::WaitForShownWindow(L"#32770", nullptr)) {
      GetWindowTextW(box, title, 128);
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  });
  SystemPrompts prompts;
  EXPECT_EQ(prompts.Message(nullptr, manager_text::kSaved, MB_OK), IDOK);
  EXPECT_TRUE(answerer.Join(10000));
  EXPECT_EQ(Utf8FromWide(title), manager_text::kTitle);
}

}  // namespace
}  // namespace tvime
