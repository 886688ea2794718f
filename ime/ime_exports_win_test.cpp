// tvime30.ime loaded as the input-method manager loads it, its exports called directly on input
// contexts of a test window (needs a display). Wine's own key routing into input methods is not
// used: on Wine 8 x64 it loses the messages an input method returns from a key.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "base/exported_function_win.h"
#include "ime/input_context_win.h"
#include "ime/test_ime_target_win.h"
#include "session/command_id.h"
#include "tests/support/clipboard_win.h"
#include "tests/support/message_loop_win.h"
#include "tests/support/panel_mouse_win.h"

namespace tvime {
namespace {

using testing::ImeMessage;
using testing::ImeTestTarget;
using testing::kZhong;

constexpr char kIdeographicComma[] = "\xA3\xAC";  // ，
const std::string kKept("k\0e\0p\0t\0\0\0", 10);  // what the clipboard holds, UTF-16

class ImeModuleTest : public testing::ImeModuleFixture {
 protected:
  BOOL Process(UINT key, bool release = false) {
    LPARAM data = release ? static_cast<LPARAM>(0xC0000001u) : 1;
    return ime->processKey(target.context, key, data, keyState);
  }

  // One key press (or release) through ImeToAsciiEx; the records it put into the list.
  std::vector<TRANSMSG> Translate(UINT key, char character = 0, bool release = false) {
    testing::TranslationList list;
    UINT virtualKey = (static_cast<UINT>(static_cast<unsigned char>(character)) << 8) | key;
    UINT count =
        ime->toAsciiEx(virtualKey, release ? 0x8000u : 0u, keyState, list.get(), 0, target.context);
    EXPECT_LE(count, list.uMsgCount);
    return {list.TransMsg, list.TransMsg + std::min(count, list.uMsgCount)};
  }

  // The key went back to the application, as the list's one record.
  static void ExpectHandedBack(const std::vector<TRANSMSG>& records, UINT key) {
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].message, static_cast<UINT>(WM_IME_KEYDOWN));
    EXPECT_EQ(records[0].wParam, static_cast<WPARAM>(key));
  }

  void TypeStrokesOfZhong() {
    for (char key : std::string("sgas")) Translate(static_cast<UINT>(key - 'a' + 'A'), key);
  }

  std::string ResultString() {
    return ContextHasComposition(target.context) ? "<composition string not empty>"
                                                 : ImeTestTarget::ResultOf(target.context);
  }

  bool IsOpen() { return ImmGetOpenStatus(target.context) != FALSE; }

  std::vector<ImeMessage>& received() { return ImeTestTarget::received(); }

  // Runs `action`, meanwhile closing and counting every dialog, message box and menu it opens.
  static int WindowsOpenedBy(const std::function<void()>& action) {
    static int opened;
    static HWND lastSeen;
    opened = 0;
    lastSeen = nullptr;
    struct Closer {
      static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = FindWindowW(L"#32770", nullptr);
        if (dialog && IsWindowVisible(dialog)) {
          Count(dialog);
          PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        HWND menu = FindWindowW(L"#32768", nullptr);
        if (menu && IsWindowVisible(menu)) {
          Count(menu);
          EndMenu();
        }
      }
      // A window still closing at the next tick is not counted twice.
      static void Count(HWND window) {
        if (window != lastSeen) ++opened;
        lastSeen = window;
      }
    };
    UINT_PTR timer = SetTimer(nullptr, 0, 200, Closer::Tick);
    action();
    testing::PumpMessagesFor(600);  // a window opened asynchronously has time to show
    KillTimer(nullptr, timer);
    return opened;
  }

  BYTE keyState[256] = {};
};

// With the UI window open and its panel shown.
class ImePanelTest : public ImeModuleTest {
 protected:
  ImePanelTest() { openPanel = true; }
};

// What the input-method manager reads of the module: an ANSI input method with a UI of its own.
TEST_F(ImeModuleTest, InquireDescribesAnAnsiInputMethodWithItsOwnUi) {
  IMEINFO info{};
  char uiClass[64] = {};
  ASSERT_TRUE(ime->inquire(&info, uiClass, 0));
  EXPECT_EQ(info.dwPrivateDataSize, 60u);
  EXPECT_EQ(info.fdwProperty, 0x30002u);
  EXPECT_EQ(info.fdwConversionCaps, 0x9u);
  EXPECT_EQ(info.fdwUICaps, 0x10001u);
  EXPECT_EQ(info.fdwSelectCaps, 0x1u);
  EXPECT_STREQ(uiClass, "TavrinIME3_UI");
}

TEST_F(ImeModuleTest, KeysAreTakenByClassIdleComposingAndClosed) {
  for (UINT key : {0x41, 0x5A, 0x30, 0x39, VK_NUMPAD0, VK_MULTIPLY, VK_DIVIDE, VK_SEPARATOR,
                   VK_SPACE, VK_BACK, VK_RETURN, VK_ESCAPE, VK_OEM_COMMA, VK_OEM_7}) {
    EXPECT_TRUE(Process(key)) << "idle " << key;
  }
  for (UINT key : {VK_F1, VK_F12, VK_TAB, VK_LEFT, VK_DOWN, VK_HOME, VK_END, VK_DELETE, VK_PRIOR,
                   VK_SHIFT, VK_CAPITAL, VK_INSERT}) {
    EXPECT_FALSE(Process(key)) << "idle " << key;
  }

  // With text in the composition string the editing keys belong to the input method.
  INPUTCONTEXT* fields = ImmLockIMC(target.context);
  ASSERT_TRUE(fields);
  auto* block = static_cast<COMPOSITIONSTRING*>(ImmLockIMCC(fields->hCompStr));
  ASSERT_TRUE(block);
  block->dwCompStrLen = 2;
  ImmUnlockIMCC(fields->hCompStr);
  ImmUnlockIMC(target.context);
  for (UINT key : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_HOME, VK_END, VK_DELETE, 0x41}) {
    EXPECT_TRUE(Process(key)) << "composing " << key;
  }
  for (UINT key : {VK_SEPARATOR, VK_F1, VK_TAB}) EXPECT_FALSE(Process(key)) << "composing " << key;

  ImmSetOpenStatus(target.context, FALSE);
  for (UINT key : {0x41, VK_SPACE, VK_RETURN}) EXPECT_FALSE(Process(key)) << "closed " << key;

  // Selecting the context again opens it and empties its composition.
  ASSERT_TRUE(ime->select(target.context, TRUE));
  EXPECT_TRUE(IsOpen());
  EXPECT_EQ(ResultString(), "");
}

// Each toggle hides or shows the panel and repaints the status window.
TEST_F(ImePanelTest, CtrlAloneTogglesFromTheSecondTapAndChordsNeverDo) {
  HWND status = FindWindowW(L"TavrinIME3_STATUS", nullptr);
  ASSERT_TRUE(status);
  ASSERT_TRUE(IsWindowVisible(panel));
  Translate(VK_OEM_COMMA, ',');  // a result, which closing empties
  // A lone Ctrl tap: the press and the release are both left to the application.
  keyState[VK_CONTROL] = 0x80;
  EXPECT_FALSE(Process(VK_CONTROL));
  keyState[VK_CONTROL] = 0;
  EXPECT_FALSE(Process(VK_CONTROL, true));
  EXPECT_TRUE(IsOpen());  // the first tap after loading is ignored
  EXPECT_TRUE(received().empty());

  UpdateWindow(status);
  EXPECT_FALSE(Process(VK_CONTROL, true));
  EXPECT_FALSE(IsOpen());
  EXPECT_FALSE(IsWindowVisible(panel));
  EXPECT_TRUE(GetUpdateRect(status, nullptr, FALSE));
  std::vector<ImeMessage> closing{{WM_IME_COMPOSITION, 0, GCS_RESULTSTR, ""},
                                  {WM_IME_ENDCOMPOSITION, 0, 0, ""},
                                  {WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0, ""}};
  EXPECT_EQ(received(), closing);
  EXPECT_TRUE(Translate('A', 'a').empty());  // closed: nothing is generated

  // Ctrl+C: neither the chord nor the release after it toggles.
  received().clear();
  keyState[VK_CONTROL] = 0x80;
  EXPECT_FALSE(Process('C'));
  keyState[VK_CONTROL] = 0;
  EXPECT_FALSE(Process(VK_CONTROL, true));
  EXPECT_FALSE(IsOpen());
  EXPECT_TRUE(received().empty());

  UpdateWindow(status);
  EXPECT_FALSE(Process(VK_CONTROL, true));
  EXPECT_TRUE(IsOpen());
  EXPECT_TRUE(IsWindowVisible(panel));
  EXPECT_TRUE(GetUpdateRect(status, nullptr, FALSE));
  EXPECT_EQ(received(), (std::vector<ImeMessage>{{WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0, ""}}));

  // Alt chords and releases of other keys always reach the application.
  keyState[VK_MENU] = 0x80;
  EXPECT_FALSE(Process('A'));
  keyState[VK_MENU] = 0;
  EXPECT_FALSE(Process('A', true));
}

TEST_F(ImeModuleTest, TranslatedKeysFillTheTranslationList) {
  // Only the result: that the panel changed is no news for the application.
  std::vector<TRANSMSG> records = Translate(VK_OEM_COMMA, ',');
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].message, static_cast<UINT>(WM_IME_COMPOSITION));
  EXPECT_EQ(records[0].lParam, GCS_RESULTSTR);
  EXPECT_EQ(ResultString(), kIdeographicComma);
  EXPECT_TRUE(received().empty());  // the platform delivers the list, not the module
  EXPECT_EQ(ContextLock(target.context)->dwNumMsgBuf, 0u);

  // Enter and Backspace with nothing to act on go back to the application.
  ExpectHandedBack(Translate(VK_RETURN, '\r'), VK_RETURN);
  ExpectHandedBack(Translate(VK_BACK, '\b'), VK_BACK);

  // Stroke keys build the input on the panel and send the application nothing; nor do releases.
  for (char key : std::string("sgas")) {
    EXPECT_TRUE(Translate(static_cast<UINT>(key - 'a' + 'A'), key).empty());
    EXPECT_TRUE(Translate(static_cast<UINT>(key - 'a' + 'A'), key, true).empty());
  }
  // Backspace now takes back a stroke instead of going to the application.
  for (const TRANSMSG& record : Translate(VK_BACK, '\b')) {
    EXPECT_NE(record.message, static_cast<UINT>(WM_IME_KEYDOWN));
  }
}

TEST_F(ImePanelTest, TheUiWindowShowsHidesAndRemembersThePanel) {
  std::vector<int> slot = PanelSlot();
  RECT rect;
  GetWindowRect(panel, &rect);
  EXPECT_EQ(slot[1], rect.left);
  EXPECT_EQ(slot[2], rect.top);
  EXPECT_EQ(slot[3], rect.right - rect.left);

  SendMessageA(ui, WM_IME_SETCONTEXT, FALSE, 0);
  EXPECT_FALSE(IsWindowVisible(panel));
  SendMessageA(ui, WM_IME_SETCONTEXT, TRUE, 0);
  EXPECT_TRUE(IsWindowVisible(panel));

  // A dropped panel keeps its new place at the next showing.
  SetWindowPos(panel, nullptr, 100, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(ui, 0x0659, 0, MAKELPARAM(100, 120));
  EXPECT_EQ(PanelSlot()[1], 100);
  EXPECT_EQ(PanelSlot()[2], 120);
  SendMessageA(ui, WM_IME_SETCONTEXT, FALSE, 0);
  SendMessageA(ui, WM_IME_COMPOSITION, 0, GCS_COMPSTR);
  GetWindowRect(panel, &rect);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 120);
  EXPECT_TRUE(IsWindowVisible(panel));

  // Closed from outside: the platform tells the UI window, which ends the composition.
  ImmSetOpenStatus(target.context, FALSE);
  received().clear();
  SendMessageA(ui, WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
  ASSERT_EQ(received().size(), 2u);
  EXPECT_EQ(received()[1].message, static_cast<UINT>(WM_IME_ENDCOMPOSITION));
  EXPECT_TRUE(ime->notify(target.context, NI_CONTEXTUPDATED, 0, IMC_SETOPENSTATUS));
  EXPECT_FALSE(ime->notify(target.context, NI_CONTEXTUPDATED, 0, IMC_SETCOMPOSITIONWINDOW));
}

TEST_F(ImePanelTest, WithASoftKeyboardShownItsKeysCommitSymbolsAndEditingKeysPass) {
  SendMessageW(panel, WM_COMMAND, kCmdFirstSoftKeyboard, 0);  // the first soft keyboard of the menu
  for (UINT key : {0x41, VK_OEM_1, VK_BACK, VK_RETURN}) EXPECT_TRUE(Process(key)) << key;
  for (UINT key : {VK_F1, VK_TAB, VK_LEFT}) EXPECT_FALSE(Process(key)) << key;

  std::vector<TRANSMSG> records = Translate('A', 'a');
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records[0].lParam, GCS_RESULTSTR);
  std::string symbol = ResultString();
  EXPECT_EQ(symbol.size(), 2u);
  EXPECT_GE(static_cast<unsigned char>(symbol[0]), 0xA1);
  ExpectHandedBack(Translate(VK_BACK, '\b'), VK_BACK);
}

TEST_F(ImePanelTest, ExitAndCloseNeverEndTheApplicationsMessageLoop) {
  settings.Write(setting::QuitAppConfirm, 0);  // no question: the stand-alone program would quit
  for (int command : {kCmdExit, kCmdClose}) SendMessageW(panel, WM_COMMAND, command, 0);
  settings.Write(setting::QuitAppConfirm, 1);
  MSG quit;
  EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(ImeModuleTest, ActivationInitialisesTheCompositionFormOnce) {
  INPUTCONTEXT* fields = ImmLockIMC(target.context);
  ASSERT_TRUE(fields);
  fields->fdwInit &= ~static_cast<DWORD>(INIT_COMPFORM);
  fields->cfCompForm.dwStyle = CFS_POINT;
  ImmUnlockIMC(target.context);

  EXPECT_TRUE(ime->setActive(target.context, TRUE));
  POINT origin{0, 0};
  ScreenToClient(target.window, &origin);
  fields = ImmLockIMC(target.context);
  ASSERT_TRUE(fields);
  EXPECT_EQ(fields->cfCompForm.dwStyle, static_cast<DWORD>(CFS_DEFAULT));
  EXPECT_EQ(fields->cfCompForm.ptCurrentPos.x, origin.x);
  EXPECT_EQ(fields->cfCompForm.ptCurrentPos.y, origin.y);
  EXPECT_TRUE(fields->fdwInit & INIT_COMPFORM);
  // The application's own form is left alone from then on.
  fields->cfCompForm.dwStyle = CFS_POINT;
  ImmUnlockIMC(target.context);
  EXPECT_TRUE(ime->setActive(target.context, TRUE));
  fields = ImmLockIMC(target.context);
  EXPECT_EQ(fields->cfCompForm.dwStyle, static_cast<DWORD>(CFS_POINT));
  ImmUnlockIMC(target.context);
  EXPECT_TRUE(ime->setActive(nullptr, FALSE));
}

TEST_F(ImeModuleTest, FollowingTheCaretPutsThePanelUnderTheLineOrAboveItNearTheBottom) {
  settings.Write(setting::MovedByCursor, 1);
  panel = OpenUiWindow();
  ASSERT_TRUE(panel);
  RECT before, after, work;
  GetWindowRect(panel, &before);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  auto caretAt = [&](int x, int y) {
    INPUTCONTEXT* fields = ImmLockIMC(target.context);
    fields->cfCompForm.dwStyle = CFS_POINT;
    fields->cfCompForm.ptCurrentPos = {x, y};
    ImmUnlockIMC(target.context);
    ime->notify(target.context, NI_CONTEXTUPDATED, 0, IMC_SETCOMPOSITIONWINDOW);
    GetWindowRect(panel, &after);
    POINT screen{x, y};
    ClientToScreen(target.window, &screen);
    return screen.y;
  };
  int caretY = caretAt(30, 20);
  EXPECT_GT(after.top, caretY);  // below the caret line
  EXPECT_LT(after.top, caretY + 60);
  EXPECT_EQ(after.left, before.left);  // never sideways
  caretY = caretAt(30, work.bottom - 60);
  EXPECT_LT(after.bottom, caretY);  // above it near the bottom of the screen
  EXPECT_EQ(after.left, before.left);

  // Switched off, the panel stays where it is.
  settings.Write(setting::MovedByCursor, 0);
  RECT kept = after;
  caretAt(30, 20);
  EXPECT_EQ(after.top, kept.top);
}

TEST_F(ImeModuleTest, ConfigureShowsTheSettingsDialogWithoutAnOwner) {
  auto configure =
      ExportedFunction<BOOL(WINAPI*)(HKL, HWND, DWORD, LPVOID)>(module, "ImeConfigure");
  ASSERT_TRUE(configure);
  static HWND dialog;
  static bool owned;
  dialog = nullptr;
  owned = true;
  struct Inspect {
    // The dialog is modal: a timer of its message loop looks at it and cancels it.
    static void CALLBACK Dialog(HWND, UINT, UINT_PTR, DWORD) {
      dialog = FindWindowW(L"#32770", nullptr);
      if (!dialog) return;
      owned = GetWindow(dialog, GW_OWNER) != nullptr;
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
  };
  UINT_PTR timer = SetTimer(nullptr, 0, 300, Inspect::Dialog);
  EXPECT_TRUE(configure(nullptr, target.window, 0, nullptr));
  KillTimer(nullptr, timer);
  ASSERT_TRUE(dialog);
  EXPECT_FALSE(owned);
}

// What the secure desktop must not do, done off it: the checks below see these windows and this
// clipboard access.
TEST_F(ImePanelTest, TheMainMenuTheSettingsDialogAndUserWordsOpenWindowsAndUseTheClipboard) {
  // Wine may show a menu through more than one window: at least one is what counts.
  EXPECT_GE(WindowsOpenedBy([&] { SendMessageW(panel, WM_COMMAND, kCmdSetting, 0); }), 1);
  EXPECT_GE(WindowsOpenedBy([&] { SendMessageW(panel, WM_COMMAND, kCmdSettingsDialog, 0); }), 1);
  testing::PutOnClipboard(nullptr, {{CF_UNICODETEXT, kKept}});
  DWORD sequence = GetClipboardSequenceNumber();
  EXPECT_GE(WindowsOpenedBy([&] { SendMessageW(panel, WM_COMMAND, kCmdUserWord, 0); }), 1);
  EXPECT_NE(GetClipboardSequenceNumber(), sequence);
}

// Loaded on the logon screen: typing works, nothing else does.
class SecureImeModuleTest : public ImePanelTest {
 protected:
  SecureImeModuleTest() { systemInfo = IME_SYSINFO_WINLOGON; }
};

TEST_F(SecureImeModuleTest, StrokesAndCandidatesCommit) {
  TypeStrokesOfZhong();
  received().clear();
  testing::PointAndSend(panel, {16, 40});
  ASSERT_FALSE(received().empty());
  EXPECT_EQ(received()[0].result, kZhong);
}

TEST_F(SecureImeModuleTest, NoMenuDialogOrMessageBoxOpens) {
  for (int command : {kCmdSetting, kCmdKeyboard, kCmdEngineMenu, kCmdSettingsDialog, kCmdUserWord,
                      kCmdDictionaryManager, kCmdHelp, kCmdAbout, kCmdSearch}) {
    EXPECT_EQ(WindowsOpenedBy([&] { SendMessageW(panel, WM_COMMAND, command, 0); }), 0) << command;
  }
  auto configure =
      ExportedFunction<BOOL(WINAPI*)(HKL, HWND, DWORD, LPVOID)>(module, "ImeConfigure");
  ASSERT_TRUE(configure);
  EXPECT_EQ(WindowsOpenedBy([&] { EXPECT_FALSE(configure(nullptr, target.window, 0, nullptr)); }),
            0);
}

TEST_F(SecureImeModuleTest, TheClipboardAndTheRegistryAreLeftAlone) {
  testing::PutOnClipboard(nullptr, {{CF_UNICODETEXT, kKept}});
  DWORD sequence = GetClipboardSequenceNumber();
  std::int32_t flagsBefore = settings.Read(setting::ConversionSet);
  std::int32_t searchEngine = settings.Read(setting::SearchEngine);
  WindowsOpenedBy([&] {
    SendMessageW(panel, WM_COMMAND, kCmdUserWord, 0);
    SendMessageW(panel, WM_COMMAND, kCmdFullShape, 0);
    SendMessageW(panel, WM_COMMAND, kCmdFirstSearchEngine + (searchEngine == 1 ? 2 : 1), 0);
  });
  EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
  EXPECT_EQ(settings.Read(setting::ConversionSet), flagsBefore);
  EXPECT_EQ(settings.Read(setting::SearchEngine), searchEngine);
  // Moving the panel is typing's business: it moves, and its place is not stored.
  std::int32_t stored = settings.Read(setting::CompPos);
  SetWindowPos(panel, nullptr, 140, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageA(ui, 0x0659, 0, MAKELPARAM(140, 150));
  EXPECT_EQ(settings.Read(setting::CompPos), stored);
}

// Windows installs a keyboard layout's module only when its version marks an input-method driver.
TEST(ImeModuleFileTest, ItsVersionMarksAnInputMethodDriver) {
  std::wstring path = testing::ImeModulePath();
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(info->dwFileType, static_cast<DWORD>(VFT_DRV));
  EXPECT_EQ(info->dwFileSubtype, static_cast<DWORD>(VFT2_DRV_INPUTMETHOD));
}

}  // namespace
}  // namespace tvime
