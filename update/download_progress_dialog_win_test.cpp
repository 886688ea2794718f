// The download dialog as a user sees it (needs a display).

#include "update/download_progress_dialog_win.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "base/wide_text_win.h"
#include "tests/support/message_loop_win.h"
#include "tests/support/win_thread.h"
#include "update/update_rules.h"

namespace tvime {
namespace {

std::string TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return Utf8FromWide(text);
}

TEST(DownloadProgressDialog, ShowsTheBytesAndTheSpeedAndAsksBeforeCancelling) {
  DownloadProgressDialog dialog(GetModuleHandleW(nullptr));
  HWND window = dialog.window();
  ASSERT_TRUE(window) << "no display: these tests need an X server (DISPLAY)";
  EXPECT_FALSE(IsWindowVisible(window));  // made hidden
  dialog.Show();
  EXPECT_TRUE(IsWindowVisible(window));

  dialog.onStart();
  dialog.onProgress(2048, 4096);
  HWND bar = GetDlgItem(window, kDownloadProgressBar);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 2048);
  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 4096);
  std::string text = TextOf(GetDlgItem(window, kDownloadText));
  // Within the first second the speed is not known yet.
  EXPECT_TRUE(text == ProgressText(2048, 4096, 0) || text == ProgressText(2048, 4096, 1)) << text;

  // Cancel asks; No goes on, Yes stops.
  for (int answer : {IDNO, IDYES}) {
    std::string question;
    testing::WinThread user([&] {
      HWND box = testing::WaitForShownWindow(L"#32770", L"沃岚鼠标输入法 3.1");
      if (!box) return;
      HWND label = FindWindowExW(box, nullptr, L"Static", nullptr);
      while (label && GetWindowTextLengthW(label) == 0) {
        label = FindWindowExW(box, label, L"Static", nullptr);
      }
      question = label ? TextOf(label) : "";
      PostMessageW(box, WM_COMMAND, answer, 0);
    });
    SendMessageW(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(user.Join(10000));
    EXPECT_EQ(question, "您点击了取消按钮，是否真的要取消正在下载的文件？");
    EXPECT_EQ(dialog.isCancelled(), answer == IDYES);
  }
  EXPECT_TRUE(IsWindow(window));  // it never closes itself
}

}  // namespace
}  // namespace tvime
