// The panel windows against Wine's real windows, menus and tooltips (needs a display).

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/gbk.h"
#include "base/wide_text_win.h"
#include "panels/guarded_window_proc_win.h"
#include "panels/panel_windows_win.h"
#include "panels/session_lock_win.h"
#include "panels/windows_session_host_win.h"
#include "session/button_bar.h"
#include "session/command_id.h"
#include "session/menus.h"
#include "session/status_bar.h"
#include "settings/registry_settings_store_win.h"
#include "tests/support/clipboard_win.h"
#include "tests/support/message_loop_win.h"
#include "tests/support/panel_mouse_win.h"
#include "tests/support/panel_windows_fixture_win.h"
#include "tests/support/program_folder_win.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win_thread.h"

namespace tvime {
namespace {

// The tool of the news line in the composition window's tooltips.
constexpr UINT_PTR kHintTool = 100;

// The registry store, counting the writes of each value.
class CountingStore : public RegistrySettingsStore {
 public:
  bool WriteInt(SettingsRoot root, std::string_view name, std::uint32_t value) override {
    ++writes[std::string(name)];
    return RegistrySettingsStore::WriteInt(root, name, value);
  }
  std::map<std::string, int> writes;
};

class PanelWindowsTest : public testing::PanelWindowsFixture {
 protected:
  static void SetUpTestSuite() {
    store = new CountingStore;
    SetUpPanelWindows(*store, L"TvimeTest_COMP", L"TvimeTest_STATUS", [](Settings& settings) {
      settings.Write(setting::CompPos, -1);
      settings.Write(setting::Position, PackPosition({300, 200}));
    });
  }

  static inline CountingStore* store = nullptr;

 public:
  static PanelArtwork* ArtworkForTests() { return artwork; }
};

// The middle of the bar's Move button, in the composition window's client coordinates.
POINT MoveButtonOnClient(CompositionPanel& panel) {
  const auto& buttons = panel.buttonBar().buttons();
  auto move = std::find_if(buttons.begin(), buttons.end(),
                           [](const ToolbarButton& button) { return button.command == kCmdMove; });
  EXPECT_NE(move, buttons.end());
  if (move == buttons.end()) return {0, 0};
  return {(move->rect.left + move->rect.right) / 2, (move->rect.top + move->rect.bottom) / 2};
}

// A window starts at its stored place (the composition window, never placed, at the bottom right
// of the work area); a moved window stores its place, and the next window of its kind starts
// there and leaves the stored place as the user left it.
TEST_F(PanelWindowsTest, AMovedWindowStoresItsPlaceAndTheNextOfItsKindStartsThere) {
  RECT work, rect;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(composition, &rect);
  EXPECT_EQ(rect.right, work.right - 10);
  EXPECT_EQ(rect.bottom, work.bottom - 10);
  // SetUpTestSuite stored top 300, left 200 for the status window before creating it.
  GetWindowRect(status, &rect);
  EXPECT_EQ(rect.left, 200);
  EXPECT_EQ(rect.top, 300);
  const struct {
    HWND window;
    const IntSetting& stored;
    HWND (*create)(HINSTANCE, const wchar_t*, HWND);
    const wchar_t* className;
  } kinds[] = {{composition, setting::CompPos, CreateCompositionWindow, L"TvimeTest_COMP"},
               {status, setting::Position, CreateStatusBarWindow, L"TvimeTest_STATUS"}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.stored.name);
    SetWindowPos(kind.window, nullptr, 321, 234, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(settings->Read(kind.stored), PackPosition({234, 321}));
    HWND another = kind.create(instance, kind.className, owner);
    ASSERT_TRUE(another);
    EXPECT_EQ(settings->Read(kind.stored), PackPosition({234, 321}));
    GetWindowRect(another, &rect);
    EXPECT_EQ(rect.left, 321);
    EXPECT_EQ(rect.top, 234);
    DestroyWindow(another);
  }
  windows.composition = composition;  // the ones the other tests use
  windows.status = status;
}

TEST_F(PanelWindowsTest, EveryBarButtonHasItsTooltip) {
  HWND tips = windows.tooltips;
  ASSERT_TRUE(tips);
  const auto& buttons = panel->buttonBar().buttons();
  EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), static_cast<LRESULT>(buttons.size() + 1));
  for (size_t i = 0; i < buttons.size(); ++i) {
    wchar_t text[256] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = composition;
    tool.uId = i;
    tool.lpszText = text;
    SendMessageW(tips, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text), WideFromUtf8(buttons[i].tooltip)) << i;
  }
}

TEST_F(PanelWindowsTest, ALongNewsTitleIsCutWithinTheTooltipBuffer) {
  std::string title;
  for (int i = 0; i < 100; ++i) title += Utf8ToGbk("新");
  news->SetEntries({{"http://news.invalid/1?x", title}, {"http://news.invalid/2?x", "second"}});
  POINT onText{10, kHintStrip.top + 10};
  ClientToScreen(composition, &onText);
  SetCursorPos(onText.x, onText.y);
  NMTTDISPINFOW request{};
  request.hdr.hwndFrom = windows.tooltips;
  request.hdr.idFrom = kHintTool;
  request.hdr.code = TTN_NEEDTEXTW;
  std::fill(std::begin(request.szText), std::end(request.szText), L'X');
  SendMessageW(composition, WM_NOTIFY, kHintTool, reinterpret_cast<LPARAM>(&request));
  news->SetEntries({});
  EXPECT_EQ(request.szText[std::size(request.szText) - 1], L'\0');
  EXPECT_EQ(std::wstring(request.szText), std::wstring(std::size(request.szText) - 1, L'新'));
}

// The menu logic names items by command, and CheckMenuItem and DeleteMenu say nothing when the
// menu has no such item: every item that the logic checks or removes must be in its menu.
::testing::AssertionResult MenuHolds(HINSTANCE instance, int menuId, const MenuState& state) {
  HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
  if (!menu) return ::testing::AssertionFailure() << "no menu " << menuId;
  HMENU popup = GetSubMenu(menu, 0);
  std::vector<int> missing;
  for (const std::vector<int>* ids : {&state.checked, &state.removed}) {
    for (int id : *ids) {
      if (GetMenuState(popup, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) missing.push_back(id);
    }
  }
  DestroyMenu(menu);
  if (missing.empty()) return ::testing::AssertionSuccess();
  ::testing::AssertionResult failure = ::testing::AssertionFailure();
  failure << "menu " << menuId << " lacks";
  for (int id : missing) failure << " " << id;
  return failure;
}

TEST_F(PanelWindowsTest, TheMenusHoldEveryItemTheirLogicChecksOrRemoves) {
  const auto kept = flags->word();
  for (std::uint16_t word = 0; word < 32; ++word) {
    flags->Assign(word);
    for (PanelMode mode : {ModeStrokes, ModePinyin}) {
      EXPECT_TRUE(MenuHolds(instance, kMenuMain, SettingButtonMenu(*flags, mode, false)));
    }
    for (size_t table = 0; table < 14; ++table) {
      EXPECT_TRUE(MenuHolds(instance, kMenuMain, StatusLogoMenu(*flags, table, false)));
    }
  }
  flags->Assign(kept);
  EXPECT_TRUE(MenuHolds(instance, kMenuMain, StatusRightClickMenu(false)));
  for (size_t table = 0; table < 14; ++table) {
    if (int item = SoftKeyboardMenuItem(table)) {
      EXPECT_TRUE(MenuHolds(instance, kMenuSoftKeyboards, MenuState{{item}, {}})) << table;
    }
  }
  for (int engine = 0; engine <= kCmdLastSearchEngine - kCmdFirstSearchEngine; ++engine) {
    EXPECT_TRUE(MenuHolds(instance, kMenuSearchEngines, SearchEngineMenu(engine)));
  }
  // The check itself finds a missing item.
  EXPECT_FALSE(MenuHolds(instance, kMenuSoftKeyboards, MenuState{{kCmdExit}, {}}));
}

TEST_F(PanelWindowsTest, OpeningFromTheStatusBarShowsThePanelWhenNoSoftKeyboardIsShown) {
  ASSERT_FALSE(panel->softKeyboard().shown());
  flags->Assign(flags->word() | CS_SOFT_KEYBOARD);  // stored, but no keyboard on the screen
  testing::PointAndSend(status, {70, 10}, {WM_LBUTTONDOWN, WM_LBUTTONUP}, HTCLIENT);  // 中/英
  EXPECT_FALSE(IsWindowVisible(composition));
  testing::PointAndSend(status, {70, 10}, {WM_LBUTTONDOWN, WM_LBUTTONUP}, HTCLIENT);  // opens
  EXPECT_TRUE(IsWindowVisible(composition));
  flags->Assign(flags->word() & ~CS_SOFT_KEYBOARD);
}

TEST_F(PanelWindowsTest, ThePointerIsAnArrowOverTheBarAndThePanelWhateverItCameFrom) {
  HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  HCURSOR textBeam = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
  ShowCompositionWindow(composition);
  // Over an empty cell of the candidate area: neither the move button nor the hint strip.
  for (auto [window, at] :
       {std::pair{status, POINT{70, 10}}, std::pair{composition, POINT{8, 40}}}) {
    SetCursor(textBeam);  // the application's text field had it
    testing::PointAndSend(window, at, {WM_MOUSEMOVE}, HTCLIENT);
    EXPECT_EQ(GetCursor(), arrow) << (window == status ? "the status bar" : "the panel");
  }
}

TEST_F(PanelWindowsTest, TheArtworkIsInTheProgram) {
  for (Artwork artwork : {Artwork::StrokeIcons, Artwork::BarIcons, Artwork::SymbolIcons,
                          Artwork::StrokeGlyphs, Artwork::RadicalIcons, Artwork::Background,
                          Artwork::CapitalsButton, Artwork::StrokeHints, Artwork::StatusButtons}) {
    EXPECT_TRUE(this->artwork->Bitmap(artwork)) << static_cast<int>(artwork);
  }
  BITMAP background{};
  GetObjectW(this->artwork->Bitmap(Artwork::Background), sizeof background, &background);
  EXPECT_EQ(background.bmWidth, kPanelWidth);
  EXPECT_EQ(background.bmHeight, kPanelHeight);
  EXPECT_TRUE(LoadCursorW(instance, MAKEINTRESOURCEW(111)));
}

TEST_F(PanelWindowsTest, WithoutASystemSoftKeyboardOurOwnIsShownAndClicked) {
  panel->Apply(1, UserAction::Run(kCmdFirstSoftKeyboard + 13));  // 全角字符
  ASSERT_TRUE(panel->softKeyboard().shown());
  // Wine has no system soft keyboard: ours is there instead, a non-activating window.
  ASSERT_TRUE(windows.softKeyboard);
  EXPECT_TRUE(GetWindowLongW(windows.softKeyboard, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  EXPECT_NE(GetForegroundWindow(), windows.softKeyboard);
  CloseSoftKeyboard();
  EXPECT_FALSE(panel->softKeyboard().shown());
  EXPECT_FALSE(windows.softKeyboard);
}

// A press on the Move button starts a drag, which stores the position once, at its end. The
// classes have CS_DBLCLKS, so a quick second press arrives as a double click: it drags all the
// same (here by 20 moves of 7 pixels right and 5 down).
TEST_F(PanelWindowsTest, ADragStoresThePositionOnceAtItsEndAndAQuickSecondPressDragsToo) {
  SetWindowPos(composition, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  POINT at = MoveButtonOnClient(*panel);
  testing::PointAndSend(composition, at, {WM_LBUTTONDOWN});
  EXPECT_EQ(GetWindowLongW(composition, kDragStateWord) & 1, 1);
  SendMessageW(composition, WM_LBUTTONUP, 0, 0);
  ASSERT_EQ(GetWindowLongW(composition, kDragStateWord), 0);
  store->writes.clear();
  testing::PointAndSend(composition, at, {WM_LBUTTONDBLCLK});
  EXPECT_EQ(GetWindowLongW(composition, kDragStateWord) & 1, 1);
  ClientToScreen(composition, &at);
  for (int step = 1; step <= 20; ++step) {
    SetCursorPos(at.x + 7 * step, at.y + 5 * step);
    SendMessageW(composition, WM_MOUSEMOVE, 0, 0);
  }
  SendMessageW(composition, WM_LBUTTONUP, 0, 0);
  RECT rect;
  GetWindowRect(composition, &rect);
  EXPECT_EQ(rect.left, 300 + 7 * 20);
  EXPECT_EQ(rect.top, 200 + 5 * 20);
  EXPECT_EQ(store->writes["CompPos"], 1);
  EXPECT_EQ(settings->Read(setting::CompPos), PackPosition({rect.top, rect.left}));
  EXPECT_EQ(GetWindowLongW(composition, kDragStateWord), 0);
  ReleaseCapture();
}

TEST_F(PanelWindowsTest, TheHoverTimerRunsOnlyWhileTheCursorIsOverThePanel) {
  constexpr UINT_PTR kHoverTimer = 1000;
  HWND another = CreateCompositionWindow(instance, L"TvimeTest_COMP", owner);
  ASSERT_TRUE(another);
  EXPECT_FALSE(KillTimer(another, kHoverTimer));  // none while nobody points at it
  DestroyWindow(another);
  windows.composition = composition;

  testing::PointAndSend(composition, {150, 40}, {WM_MOUSEMOVE});
  EXPECT_TRUE(KillTimer(composition, kHoverTimer));
  testing::PointAndSend(composition, {150, 40}, {WM_MOUSEMOVE});
  RECT rect;
  GetWindowRect(composition, &rect);
  SetCursorPos(rect.left - 50, rect.top - 50);  // gone: the next tick ends the hover and itself
  SendMessageW(composition, WM_TIMER, kHoverTimer, 0);
  EXPECT_FALSE(KillTimer(composition, kHoverTimer));
}

TEST_F(PanelWindowsTest, AFlagToggleRepaintsTheStatusWindow) {
  UpdateWindow(status);
  ASSERT_FALSE(GetUpdateRect(status, nullptr, FALSE));
  panel->Apply(1, UserAction::Run(kCmdFullShape));
  EXPECT_TRUE(GetUpdateRect(status, nullptr, FALSE));
  panel->Apply(1, UserAction::Run(kCmdFullShape));
}

// A window whose painting throws, before the paint begins or in the middle of it.
bool g_throwInsidePaint = false;
LRESULT CALLBACK ThrowingPaintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
  if (!g_throwInsidePaint) throw std::runtime_error("before the paint");
  PaintBuffered(
      window, []() -> DrawList { throw std::runtime_error("inside"); },
      *PanelWindowsTest::ArtworkForTests());
  return 0;
}

TEST_F(PanelWindowsTest, APaintThatThrowsStillValidatesItsWindow) {
  WNDCLASSW throwing{};
  throwing.lpfnWndProc = GuardedWindowProc<ThrowingPaintProc>;
  throwing.hInstance = instance;
  throwing.lpszClassName = L"TvimeTestThrowingPaint";
  RegisterClassW(&throwing);
  HWND window = CreateWindowExW(0, L"TvimeTestThrowingPaint", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                50, nullptr, nullptr, instance, nullptr);
  ASSERT_TRUE(window);
  for (bool inside : {false, true}) {
    g_throwInsidePaint = inside;
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);  // one WM_PAINT, which throws
    EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << inside;
  }
  DestroyWindow(window);
}

TEST_F(PanelWindowsTest, TheDictionaryManagerStartsFromTheInstallationAndNeverBlocks) {
  // One manager where the installation is, and one planted in the application's current
  // directory (a document folder).
  testing::TempDir installation, documents;
  std::string fake = testing::ProgramFolder() + "tvime-fake-manager.exe";
  ASSERT_TRUE(CopyFileA(fake.c_str(), installation.File("tvimedic.exe").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(fake.c_str(), documents.File("tvimedic.exe").c_str(), FALSE));
  char previousDirectory[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previousDirectory);
  SetCurrentDirectoryA(documents.path().string().c_str());
  std::string previousPath = settings->Read(setting::Path);
  settings->Write(setting::Path, installation.path().string());
  std::string words = UserDataFolder().File(kUserWordFileName);
  SetEnvironmentVariableA("TVIME_FAKE_MANAGER_WORDS", words.c_str());

  DWORD start = GetTickCount();
  RunWindowCommand(1, kCmdDictionaryManager);
  EXPECT_LT(GetTickCount() - start, 500u);  // the manager stays 700 ms: nobody waited for it
  // The words it saved are there once it has ended, without anything but the message loop.
  std::string added = "\xB9\xDC\xC0\xED\xC6\xF7";  // 管理器
  auto hasWord = [&] {
    return std::find(lexicon->userWords().begin(), lexicon->userWords().end(), added) !=
           lexicon->userWords().end();
  };
  EXPECT_TRUE(testing::PumpMessagesUntil(hasWord, 15000));
  EXPECT_NE(GetFileAttributesA(installation.File("ran.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA(documents.File("ran.txt").c_str()), INVALID_FILE_ATTRIBUTES);

  settings->Write(setting::Path, previousPath);
  SetEnvironmentVariableA("TVIME_FAKE_MANAGER_WORDS", nullptr);
  SetCurrentDirectoryA(previousDirectory);
  lexicon->LoadUserWords();
}

TEST_F(PanelWindowsTest, FetchingTheSelectionPutsBackEveryFormatAndLeavesAnUnkeepableClipboard) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 200, 30, nullptr, nullptr, instance,
                              nullptr);
  ASSERT_TRUE(edit);
  SetWindowTextW(edit, WideFromUtf8("学习中文输入").c_str());
  SendMessageW(edit, EM_SETSEL, 2, 4);  // 中文
  // A picture, a list of files and a format of some program, besides text.
  UINT custom = RegisterClipboardFormatW(L"TvimeTest Custom");
  BITMAPINFOHEADER header{sizeof header, 2, 2, 1, 24, BI_RGB, 16, 0, 0, 0, 0};
  std::string dib(reinterpret_cast<const char*>(&header), sizeof header);
  dib += std::string(16, '\x7F');
  std::string files(sizeof(DROPFILES), '\0');
  reinterpret_cast<DROPFILES*>(files.data())->pFiles = sizeof(DROPFILES);
  files += std::string("C:\\a.txt\0\0", 10);
  std::string text("c\0o\0p\0y\0\0\0", 10);
  std::vector<std::pair<UINT, std::string>> formats = {
      {CF_UNICODETEXT, text}, {CF_DIB, dib}, {CF_HDROP, files}, {custom, std::string("\1\2\3")}};
  testing::PutOnClipboard(edit, formats);
  EXPECT_EQ(FetchSelectedText(edit), Utf8ToGbk("中文"));
  for (const auto& [format, bytes] : formats) {
    // Blocks may come back rounded up to the allocator's granularity.
    EXPECT_EQ(testing::ClipboardBytes(edit, format).substr(0, bytes.size()), bytes) << format;
  }

  // A private format cannot be put back as it was: the clipboard stays untouched and the
  // selection is not fetched.
  testing::PutOnClipboard(edit, {{CF_UNICODETEXT, text}});
  ASSERT_TRUE(OpenClipboard(edit));
  SetClipboardData(CF_PRIVATEFIRST, GlobalAlloc(GMEM_MOVEABLE, 4));
  CloseClipboard();
  DWORD sequence = GetClipboardSequenceNumber();
  EXPECT_EQ(FetchSelectedText(edit), "");
  EXPECT_EQ(GetClipboardSequenceNumber(), sequence);
  EXPECT_EQ(testing::ClipboardBytes(edit, CF_UNICODETEXT).substr(0, text.size()), text);
  DestroyWindow(edit);
}

// One thread holds the session while it sends a message to a window of a second thread that is
// waiting for its turn: the second answers it meanwhile, then gets its turn; a thread that never
// gets it gives up.
LONG g_answered = 0;
LRESULT CALLBACK CountUserMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) InterlockedIncrement(&g_answered);
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(SessionLockTest, AWaitingThreadAnswersSentMessagesAndGetsItsTurnOrGivesUp) {
  HWND otherWindow = nullptr;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool gotTurn = false;
  g_answered = 0;
  auto holder = std::make_unique<SessionLock>();
  ASSERT_TRUE(*holder);
  {
    testing::WinThread other([&] {
      otherWindow = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    nullptr, nullptr);
      SetWindowLongPtrW(otherWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountUserMessages));
      SetEvent(ready);
      SessionLock turn;  // waits: the test's thread holds the session
      gotTurn = static_cast<bool>(turn);
      DestroyWindow(otherWindow);
    });
    ASSERT_TRUE(other);
    ASSERT_EQ(WaitForSingleObject(ready, 5000), WAIT_OBJECT_0);
    Sleep(50);  // the other thread is waiting for its turn by now
    DWORD_PTR result = 0;
    EXPECT_TRUE(SendMessageTimeoutW(otherWindow, WM_USER, 0, 0, SMTO_BLOCK, 2000, &result));
    EXPECT_EQ(g_answered, 1);
    holder.reset();
    EXPECT_TRUE(other.Join(5000));
  }
  EXPECT_TRUE(gotTurn);
  CloseHandle(ready);

  // Held for longer than a thread's patience, the waiter goes on without the session.
  holder = std::make_unique<SessionLock>();
  bool impatientGotTurn = true;
  testing::WinThread impatient([&] { impatientGotTurn = static_cast<bool>(SessionLock()); });
  EXPECT_TRUE(impatient.Join(5000));
  EXPECT_FALSE(impatientGotTurn);
}

}  // namespace
}  // namespace tvime
