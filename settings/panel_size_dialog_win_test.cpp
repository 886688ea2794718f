// The settings dialog's panel size list, from its resource in tvime-testdialogs.dll (needs a
// display): the four sizes, the stored one selected, and the chosen one read back.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_dialog_win.h"

namespace tvime {
namespace {

INT_PTR CALLBACK Passive(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(PanelSizeDialog, ListsTheFourSizesShowsTheStoredOneAndReadsTheChoice) {
  HMODULE dll = LoadLibraryA("tvime-testdialogs.dll");
  ASSERT_TRUE(dll) << "tvime-testdialogs.dll not found next to the test";
  HWND dialog = CreateDialogParamW(dll, MAKEINTRESOURCEW(kSettingsDialogId), nullptr, Passive, 0);
  ASSERT_TRUE(dialog) << "no display: this test needs an X server (DISPLAY)";
  HWND list = GetDlgItem(dialog, kCtlPanelSize);
  ASSERT_TRUE(list);
  SettingsDialogState state;
  state.panelSize = 150;
  InitSettingsDialogControls(dialog, state);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 4);
  wchar_t text[32] = {};
  SendMessageW(list, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"200 %");
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(ReadSettingsDialogControls(dialog).panelSize, 150);
  SendMessageW(list, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(ReadSettingsDialogControls(dialog).panelSize, 125);
  // The list lies inside the dialog, below the other options and above the buttons.
  RECT listRect, okRect;
  GetWindowRect(list, &listRect);
  GetWindowRect(GetDlgItem(dialog, IDOK), &okRect);
  EXPECT_LT(listRect.top, okRect.top);
  DestroyWindow(dialog);
  FreeLibrary(dll);
}

}  // namespace
}  // namespace tvime
