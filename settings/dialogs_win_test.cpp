// The settings dialog and the licence agreement from their resources in tvime-testdialogs.dll:
// created modeless to be read back control by control, and run modally through the real
// procedures, driven by a timer. Dialogs are top-level windows, so these tests need a display.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "about/about_dialog_win.h"
#include "base/wide_text_win.h"
#include "settings/licence_dialog_win.h"
#include "settings/settings_dialog_win.h"

namespace tvime {
namespace {

struct WindowDestroyer {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using Window = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

std::wstring WindowText(HWND window) {
  // Wine's RichEdit 1.0 is an ANSI window that reports its length in characters but needs room
  // for its GBK bytes, else it returns nothing: twice the length is always enough.
  std::wstring text(2 * GetWindowTextLengthW(window) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring FontFace(HWND dialog) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  LOGFONTW description = {};
  if (!font || !GetObjectW(font, sizeof description, &description)) return L"";
  return description.lfFaceName;
}

bool IsChecked(HWND dialog, int control) {
  return IsDlgButtonChecked(dialog, control) == BST_CHECKED;
}

void SetChecked(HWND dialog, int control, bool checked) {
  SendDlgItemMessageW(dialog, control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Press(HWND dialog, int button) { PostMessageW(dialog, WM_COMMAND, button, 0); }

// A procedure that leaves everything to the test.
INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// --- Modal dialogs driven by a timer ---
//
// The modal loop dispatches the thread's timer messages. Once the dialog is shown, the script's
// step runs once with it; a dialog still open after the time limit is ended with kTimedOut, so a
// broken test fails instead of hanging.

constexpr int kTimedOut = 99;
constexpr DWORD kTimeLimitMs = 10000;

struct ModalScript {
  std::function<void(HWND)> step;
  DWORD start = GetTickCount();
  HWND dialog = nullptr;  // the dialog the step ran with
  // Run once with a second dialog that follows the first, if any.
  std::function<void(HWND)> then = nullptr;
  HWND second = nullptr;
};
ModalScript* runningScript = nullptr;

BOOL CALLBACK FindShownDialog(HWND window, LPARAM found) {
  if (IsWindowVisible(window) && ClassName(window) == L"#32770") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK RunScriptStep(HWND, UINT, UINT_PTR, DWORD) {
  ModalScript* script = runningScript;
  if (!script) return;
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  if (!script->dialog) {
    script->dialog = dialog;
    script->step(dialog);
  } else if (dialog != script->dialog && script->then && !script->second) {
    script->second = dialog;
    script->then(dialog);
  } else if (GetTickCount() - script->start > kTimeLimitMs) {
    EndDialog(dialog, kTimedOut);
  }
}

class ScriptTimer {
 public:
  explicit ScriptTimer(ModalScript& script) : id_(SetTimer(nullptr, 0, 50, RunScriptStep)) {
    runningScript = &script;
  }
  ScriptTimer(const ScriptTimer&) = delete;
  ScriptTimer& operator=(const ScriptTimer&) = delete;
  ~ScriptTimer() {
    runningScript = nullptr;
    if (id_) KillTimer(nullptr, id_);
  }
  bool started() const { return id_ != 0; }

 private:
  UINT_PTR id_;
};

// Calls `show`, which runs a modal dialog, with `step` applied to the dialog once it is shown.
// *dialog receives the dialog the step saw (nullptr when none was shown).
int RunModal(const std::function<int()>& show, std::function<void(HWND)> step,
             HWND* dialog = nullptr) {
  ModalScript script{std::move(step)};
  ScriptTimer timer(script);
  EXPECT_TRUE(timer.started());
  int result = show();
  if (dialog) *dialog = script.dialog;
  return result;
}

void ExpectCentredOnTheDesktop(HWND window) {
  RECT desktop, rect;
  ASSERT_TRUE(GetWindowRect(GetDesktopWindow(), &desktop));
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_NEAR((rect.left + rect.right) / 2, (desktop.left + desktop.right) / 2, 1);
  EXPECT_NEAR((rect.top + rect.bottom) / 2, (desktop.top + desktop.bottom) / 2, 1);
}

// The client area has the template's size in dialog units.
void ExpectDialogUnits(HWND dialog, int width, int height) {
  RECT expected = {0, 0, width, height}, client;
  ASSERT_TRUE(MapDialogRect(dialog, &expected));
  ASSERT_TRUE(GetClientRect(dialog, &client));
  EXPECT_EQ(client.right, expected.right);
  EXPECT_EQ(client.bottom, expected.bottom);
}

class DialogDll : public ::testing::Test {
 protected:
  void SetUp() override {
    dll = LoadLibraryA("tvime-testdialogs.dll");
    ASSERT_TRUE(dll) << "tvime-testdialogs.dll not found next to the test";
    // Without an X server Wine creates no top-level window: one message instead of many.
    Window probe(CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr));
    ASSERT_TRUE(probe) << "no display: these tests need an X server (DISPLAY)";
  }
  void TearDown() override {
    if (dll) FreeLibrary(dll);
  }
  HMODULE dll = nullptr;
  MemorySettingsStore store;
  Settings settings{store};
};

// --- The settings dialog ---

class SettingsDialogWin : public DialogDll {
 protected:
  Window CreateSettingsDialog() {
    return Window(CreateDialogParamW(dll, MAKEINTRESOURCEW(kSettingsDialogId), nullptr,
                                     PassiveDialogProc, 0));
  }
  int Show() { return ShowSettingsDialog(dll, nullptr, settings, flags, session); }

  ConversionFlags flags{settings};
  bool keyStrokes = false, movedByCursor = false, openWordCiba = true;
  int phraseSortMode = 0, learnChoices = 0;
  bool predictNext = true;
  SessionOptions session{&keyStrokes,     &movedByCursor, &openWordCiba,
                         &phraseSortMode, &learnChoices,  &predictNext};
};

struct ExpectedControl {
  int id;
  const wchar_t* className;
  const wchar_t* text;
};

TEST_F(SettingsDialogWin, HasTheCaptionFontAndControls) {
  Window dialog = CreateSettingsDialog();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(WindowText(dialog.get()), L"沃岚鼠标输入法设置");
  EXPECT_EQ(FontFace(dialog.get()), L"新宋体");
  const ExpectedControl controls[] = {
      {1013, L"Button", L"中文标点"},
      {1012, L"Button", L"全角"},
      {1023, L"Button", L"大字库集(含大量繁体)(&F)"},
      {1014, L"Button", L"小键盘"},
      {1000, L"ComboBox", L""},
      {1002, L"Button", L"支持键盘 ASDFG 录入笔画"},
      {1005, L"Button", L"外挂版退出时询问用户确认"},
      {1006, L"Button", L"词组排序采用词语长度从短到长排序"},
      {1007, L"Button", L"光标跟随"},
      {1008, L"Button", L"在字或者词上点击右键搜索字或者词的解释"},
      {1009, L"Button", L"常用的字词自动排在前面（学习）"},
      {1010, L"Button", L"联想词按前文预测排序"},
      {IDOK, L"Button", L"确定"},
      {IDCANCEL, L"Button", L"取消"},
  };
  for (const ExpectedControl& expected : controls) {
    SCOPED_TRACE(expected.id);
    HWND control = GetDlgItem(dialog.get(), expected.id);
    ASSERT_TRUE(control);
    EXPECT_EQ(ClassName(control), expected.className);
    EXPECT_EQ(WindowText(control), expected.text);
    LONG style = GetWindowLongW(control, GWL_STYLE);
    if (expected.id == 1000) {
      EXPECT_EQ(style & 3, CBS_DROPDOWNLIST);
    } else if (expected.id == IDOK) {
      EXPECT_EQ(style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    } else if (expected.id == IDCANCEL) {
      EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
    } else {
      EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
    }
  }
}

TEST_F(SettingsDialogWin, TheComboBoxListsTheSixSearchEngines) {
  Window dialog = CreateSettingsDialog();
  ASSERT_TRUE(dialog);
  InitSettingsDialogControls(dialog.get(), SettingsDialogState{});
  HWND combo = GetDlgItem(dialog.get(), kCtlSearchEngine);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 6);
  const wchar_t* names[] = {L"百度", L"谷歌", L"Google", L"搜狗", L"雅虎", L"MSN"};
  for (int i = 0; i < 6; ++i) {
    wchar_t name[32] = {};
    ASSERT_LT(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0), 32);
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, names[i]);
  }
  // Opening twice does not list them twice.
  InitSettingsDialogControls(dialog.get(), SettingsDialogState{});
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 6);
}

// The check boxes and the fields of the state they show.
const struct {
  int control;
  bool SettingsDialogState::*field;
} kCheckBoxes[] = {
    {kCtlChinesePunct, &SettingsDialogState::chinesePunct},
    {kCtlFullShape, &SettingsDialogState::fullShape},
    {kCtlBigCharset, &SettingsDialogState::bigCharset},
    {kCtlSmallPanel, &SettingsDialogState::smallPanel},
    {kCtlStrokeKeys, &SettingsDialogState::keyStrokes},
    {kCtlQuitConfirm, &SettingsDialogState::quitConfirm},
    {kCtlPhraseSort, &SettingsDialogState::phraseSort},
    {kCtlMovedByCursor, &SettingsDialogState::movedByCursor},
    {kCtlOpenWordCiba, &SettingsDialogState::openWordCiba},
    {kCtlLearnChoices, &SettingsDialogState::learnChoices},
    {kCtlPredictNext, &SettingsDialogState::predictNext},
};

// Every box shown ticked and clear, each time read back after the user turned it over.
TEST_F(SettingsDialogWin, InitShowsTheStateAndReadGivesWhatTheControlsShow) {
  Window dialog = CreateSettingsDialog();
  ASSERT_TRUE(dialog);
  HWND d = dialog.get();
  for (bool odd : {false, true}) {
    SCOPED_TRACE(odd);
    SettingsDialogState state;
    for (size_t i = 0; i < std::size(kCheckBoxes); ++i) {
      state.*kCheckBoxes[i].field = (i % 2 == 1) == odd;
    }
    state.searchEngine = odd ? 3 : 1;
    InitSettingsDialogControls(d, state);
    for (const auto& box : kCheckBoxes) {
      EXPECT_EQ(IsChecked(d, box.control), state.*box.field) << box.control;
      SetChecked(d, box.control, !(state.*box.field));
    }
    EXPECT_EQ(SendDlgItemMessageW(d, kCtlSearchEngine, CB_GETCURSEL, 0, 0), state.searchEngine);
    SendDlgItemMessageW(d, kCtlSearchEngine, CB_SETCURSEL, 4, 0);
    SettingsDialogState read = ReadSettingsDialogControls(d);
    for (const auto& box : kCheckBoxes) {
      EXPECT_EQ(read.*box.field, !(state.*box.field)) << box.control;
    }
    EXPECT_EQ(read.searchEngine, 4);
  }
}

TEST_F(SettingsDialogWin, AnEngineOutsideTheListSelectsTheNearestEnd) {
  Window dialog = CreateSettingsDialog();
  ASSERT_TRUE(dialog);
  SettingsDialogState state;
  for (auto [engine, shown] : {std::pair{9, 5}, std::pair{-2, 0}}) {
    state.searchEngine = engine;
    InitSettingsDialogControls(dialog.get(), state);
    EXPECT_EQ(SendDlgItemMessageW(dialog.get(), kCtlSearchEngine, CB_GETCURSEL, 0, 0), shown);
  }
}

// The four panel sizes, the stored one selected, and the chosen one read back.
TEST_F(SettingsDialogWin, ThePanelSizeListShowsTheStoredSizeAndReadsTheChoice) {
  Window dialog = CreateSettingsDialog();
  ASSERT_TRUE(dialog);
  HWND list = GetDlgItem(dialog.get(), kCtlPanelSize);
  ASSERT_TRUE(list);
  SettingsDialogState state;
  state.panelSize = 150;
  InitSettingsDialogControls(dialog.get(), state);
  ASSERT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 4);
  wchar_t text[32] = {};
  SendMessageW(list, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(std::wstring(text), L"200 %");
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(ReadSettingsDialogControls(dialog.get()).panelSize, 150);
  SendMessageW(list, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(ReadSettingsDialogControls(dialog.get()).panelSize, 125);
  // The list lies inside the dialog, below the other options and above the buttons.
  RECT listRect, okRect;
  GetWindowRect(list, &listRect);
  GetWindowRect(GetDlgItem(dialog.get(), IDOK), &okRect);
  EXPECT_LT(listRect.top, okRect.top);
}

TEST_F(SettingsDialogWin, OkAppliesTheControlsAndClearsTheSoftKeyboard) {
  flags.Assign(CS_CHINESE_PUNCT | CS_SOFT_KEYBOARD);
  settings.Write(setting::SearchEngine, 2);
  HWND seen = nullptr;
  int result =
      RunModal([&] { return Show(); },
               [&](HWND dialog) {
                 ExpectCentredOnTheDesktop(dialog);
                 EXPECT_EQ(WindowText(dialog), L"沃岚鼠标输入法设置");
                 // Opened with the current values.
                 EXPECT_TRUE(IsChecked(dialog, kCtlChinesePunct));
                 EXPECT_FALSE(IsChecked(dialog, kCtlSmallPanel));
                 EXPECT_TRUE(IsChecked(dialog, kCtlOpenWordCiba));
                 EXPECT_EQ(SendDlgItemMessageW(dialog, kCtlSearchEngine, CB_GETCURSEL, 0, 0), 2);
                 SetChecked(dialog, kCtlSmallPanel, true);
                 SetChecked(dialog, kCtlMovedByCursor, true);
                 SendDlgItemMessageW(dialog, kCtlSearchEngine, CB_SETCURSEL, 4, 0);
                 Press(dialog, IDOK);
               },
               &seen);
  ASSERT_TRUE(seen) << "the dialog was not shown";
  EXPECT_EQ(result, IDOK);
  EXPECT_FALSE(IsWindow(seen));
  EXPECT_EQ(flags.word(), CS_CHINESE_PUNCT | CS_SMALL_PANEL);
  EXPECT_EQ(settings.Read(setting::ConversionSet), CS_CHINESE_PUNCT | CS_SMALL_PANEL);
  EXPECT_EQ(settings.Read(setting::SearchEngine), 4);
  EXPECT_TRUE(movedByCursor);
  EXPECT_EQ(settings.Read(setting::MovedByCursor), 1);
}

TEST_F(SettingsDialogWin, CancelAndTheCloseBoxApplyNothing) {
  for (bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "cancel");
    flags.Assign(CS_CHINESE_PUNCT | CS_SOFT_KEYBOARD);
    HWND seen = nullptr;
    int result = RunModal([&] { return Show(); },
                          [&](HWND dialog) {
                            SetChecked(dialog, kCtlChinesePunct, false);
                            SetChecked(dialog, kCtlMovedByCursor, true);
                            SendDlgItemMessageW(dialog, kCtlSearchEngine, CB_SETCURSEL, 5, 0);
                            if (closeBox) {
                              PostMessageW(dialog, WM_CLOSE, 0, 0);
                            } else {
                              Press(dialog, IDCANCEL);
                            }
                          },
                          &seen);
    ASSERT_TRUE(seen) << "the dialog was not shown";
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(flags.word(), CS_CHINESE_PUNCT | CS_SOFT_KEYBOARD);
    EXPECT_FALSE(movedByCursor);
    EXPECT_FALSE(store.ReadInt(SettingsRoot::User, "SearchEngine"));
    EXPECT_FALSE(store.ReadInt(SettingsRoot::User, "MovedByCursor"));
  }
}

TEST_F(SettingsDialogWin, AModuleWithoutTheTemplateGivesMinusOne) {
  EXPECT_EQ(ShowSettingsDialog(GetModuleHandleW(nullptr), nullptr, settings, flags, session), -1);
}

// --- The licence agreement ---

class LicenceDialogWin : public DialogDll {
 protected:
  void SetUp() override {
    DialogDll::SetUp();
    // Registers the "RICHEDIT" class the templates use; ShowLicenceAgreement does the same.
    ASSERT_TRUE(LoadLibraryA("RICHED32.DLL"));
  }
  Window CreateLicenceDialog(int id, DLGPROC procedure = LicenceDialogProc) {
    return Window(CreateDialogParamW(dll, MAKEINTRESOURCEW(id), nullptr, procedure,
                                     reinterpret_cast<LPARAM>(&settings)));
  }
  std::optional<std::uint32_t> StoredNoShow() const {
    return store.ReadInt(SettingsRoot::User, "NoShowLicense3.1");
  }
};

HWND FindBitmapStatic(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassName(child) == L"Static" &&
        (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP) {
      return child;
    }
  }
  return nullptr;
}

void ExpectTheCommonLicenceControls(HWND dialog) {
  EXPECT_EQ(WindowText(dialog), L"沃岚鼠标输入法用户最终许可协议");
  EXPECT_EQ(FontFace(dialog), L"新宋体");
  ExpectDialogUnits(dialog, 273, 233);
  EXPECT_TRUE(FindBitmapStatic(dialog));
  HWND text = GetDlgItem(dialog, kCtlLicenceText);
  ASSERT_TRUE(text);
  EXPECT_EQ(CompareStringOrdinal(ClassName(text).c_str(), -1, L"RICHEDIT", -1, TRUE), CSTR_EQUAL)
      << ClassName(text).c_str();
  LONG style = GetWindowLongW(text, GWL_STYLE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & WS_VSCROLL);
  HWND box = GetDlgItem(dialog, kCtlNoShowLicence);
  ASSERT_TRUE(box);
  EXPECT_EQ(ClassName(box), L"Button");
  EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_EQ(WindowText(box), L"下次启动不再显示本对话框");
}

TEST_F(LicenceDialogWin, TheStartDialogOffersAgreeAndRefuseTheReadingDialogOnlyCloses) {
  const struct {
    int id;
    const wchar_t* ok;
    const wchar_t* cancel;  // none in the reading dialog
  } dialogs[] = {{kLicenceAgreementDialogId, L"同  意", L"不同意"},
                 {kLicenceReadingDialogId, L"关  闭", nullptr}};
  for (const auto& expected : dialogs) {
    SCOPED_TRACE(expected.id);
    Window dialog = CreateLicenceDialog(expected.id);
    ASSERT_TRUE(dialog);
    ExpectTheCommonLicenceControls(dialog.get());
    ASSERT_TRUE(GetDlgItem(dialog.get(), IDOK));
    EXPECT_EQ(WindowText(GetDlgItem(dialog.get(), IDOK)), expected.ok);
    HWND cancel = GetDlgItem(dialog.get(), IDCANCEL);
    ASSERT_EQ(cancel != nullptr, expected.cancel != nullptr);
    if (cancel) {
      EXPECT_EQ(WindowText(cancel), expected.cancel);
    }
  }
}

TEST_F(LicenceDialogWin, ShowsTheLicenceTextAsFormattedText) {
  Window dialog = CreateLicenceDialog(kLicenceAgreementDialogId);
  ASSERT_TRUE(dialog);
  ExpectCentredOnTheDesktop(dialog.get());
  std::wstring text = WindowText(GetDlgItem(dialog.get(), kCtlLicenceText));
  EXPECT_GT(text.size(), 600u);
  for (const wchar_t* part : {L"沃岚鼠标输入法", L"LGPL", L"LGPL-2.1+", L"LGPL-3", L"Unihan",
                              L"Unicode", L"jieba", L"MIT", L"OpenCC", L"Apache-2.0"}) {
    EXPECT_NE(text.find(part), std::wstring::npos) << part;
  }
  // Read as RTF, not shown as its source.
  EXPECT_EQ(text.find(L"rtf1"), std::wstring::npos);
  EXPECT_EQ(text.find(L"\\'"), std::wstring::npos);
}

TEST_F(LicenceDialogWin, TheTextOpensAtItsTopWithNothingSelected) {
  int result = RunModal([&] { return ShowLicenceAgreement(dll, true, settings); },
                        [](HWND dialog) {
                          HWND text = GetDlgItem(dialog, kCtlLicenceText);
                          DWORD start = 1, end = 1;
                          SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                       reinterpret_cast<LPARAM>(&end));
                          EXPECT_EQ(start, 0u);
                          EXPECT_EQ(end, 0u);
                          EXPECT_EQ(SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
                          Press(dialog, IDCANCEL);
                        });
  EXPECT_EQ(result, 2);
}

TEST_F(LicenceDialogWin, StreamsTheWholeResource) {
  Window dialog = CreateLicenceDialog(kLicenceReadingDialogId, PassiveDialogProc);
  ASSERT_TRUE(dialog);
  HWND text = GetDlgItem(dialog.get(), kCtlLicenceText);
  EXPECT_EQ(GetWindowTextLengthW(text), 0);
  HRSRC licence = FindResourceA(dll, "LICENSE", MAKEINTRESOURCEA(10));
  ASSERT_TRUE(licence);
  EXPECT_EQ(StreamLicenceInto(text, dll), SizeofResource(dll, licence));
  EXPECT_GT(GetWindowTextLengthW(text), 600);
}

TEST_F(LicenceDialogWin, AModuleWithoutTheResourceLeavesTheControlEmpty) {
  Window dialog = CreateLicenceDialog(kLicenceReadingDialogId, PassiveDialogProc);
  ASSERT_TRUE(dialog);
  HWND text = GetDlgItem(dialog.get(), kCtlLicenceText);
  EXPECT_EQ(StreamLicenceInto(text, GetModuleHandleW(nullptr)), 0u);
  EXPECT_EQ(GetWindowTextLengthW(text), 0);
}

TEST_F(LicenceDialogWin, StartModeIsSkippedOnceTheUserAskedNotToSeeIt) {
  settings.Write(setting::NoShowLicense, 1);
  HWND seen = nullptr;
  int result = RunModal([&] { return ShowLicenceAgreement(dll, false, settings); },
                        [](HWND dialog) { EndDialog(dialog, kTimedOut); }, &seen);
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(seen);
}

// Every way of ending the start and the reading dialog: the box shows what is stored, other
// commands leave the dialog open, and the answer and what is stored follow the way it ended.
// Refusing stores nothing, whatever the box.
TEST_F(LicenceDialogWin, EveryWayOfClosingAnswersAndStoresAsItShould) {
  enum How { kAgree, kRefuse, kEscape, kCloseBox };
  const struct {
    const char* name;
    bool reading, storedTicked, tick;
    How how;
    int result;
    std::optional<std::uint32_t> stored;
  } cases[] = {
      {"agree, ticked", false, false, true, kAgree, 1, 1u},
      {"agree, clear", false, false, false, kAgree, 1, 0u},
      {"refuse", false, false, true, kRefuse, 2, std::nullopt},
      {"escape", false, false, true, kEscape, 2, std::nullopt},
      {"close box", false, false, true, kCloseBox, 2, std::nullopt},
      {"reading, cleared and closed", true, true, false, kAgree, 1, 0u},
      {"reading, cancel", true, false, true, kRefuse, 2, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    store = MemorySettingsStore();
    if (c.storedTicked) settings.Write(setting::NoShowLicense, 1);
    HWND seen = nullptr;
    int result = RunModal(
        [&] { return ShowLicenceAgreement(dll, c.reading, settings); },
        [&](HWND dialog) {
          ExpectCentredOnTheDesktop(dialog);
          EXPECT_EQ(GetDlgItem(dialog, IDCANCEL) == nullptr, c.reading) << "another dialog";
          EXPECT_EQ(IsChecked(dialog, kCtlNoShowLicence), c.storedTicked);
          EXPECT_GT(GetWindowTextLengthW(GetDlgItem(dialog, kCtlLicenceText)), 600);
          SendMessageW(dialog, WM_COMMAND, kCtlNoShowLicence, 0);
          SendMessageW(dialog, WM_COMMAND, 1234, 0);
          EXPECT_TRUE(IsWindowVisible(dialog));
          SetChecked(dialog, kCtlNoShowLicence, c.tick);
          if (c.how == kEscape) {
            PostMessageW(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
          } else if (c.how == kCloseBox) {
            PostMessageW(dialog, WM_CLOSE, 0, 0);
          } else {
            Press(dialog, c.how == kAgree ? IDOK : IDCANCEL);
          }
        },
        &seen);
    ASSERT_TRUE(seen) << "the dialog was not shown";
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(StoredNoShow(), c.stored);
  }
}

TEST_F(LicenceDialogWin, AModuleWithoutTheTemplatesGivesMinusOne) {
  EXPECT_EQ(ShowLicenceAgreement(GetModuleHandleW(nullptr), false, settings), -1);
}

// --- The about dialog ---

class AboutDialogWin : public DialogDll {};

// Lets the dialog's timers and paints run for a while (inside the modal loop's timer step).
void PumpFor(DWORD milliseconds) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  }
}

// The control's pixels on a grid of 4-pixel steps, as shown on the screen.
std::vector<COLORREF> Pixels(HWND control) {
  RECT client;
  GetClientRect(control, &client);
  std::vector<COLORREF> pixels;
  HDC dc = GetDC(control);
  for (int y = 0; y < client.bottom; y += 4) {
    for (int x = 0; x < client.right; x += 4) pixels.push_back(GetPixel(dc, x, y));
  }
  ReleaseDC(control, dc);
  return pixels;
}

TEST_F(AboutDialogWin, ShowsTheModulesVersionAndCrawlsTheCreditsOverTheStars) {
  std::wstring caption, version, face;
  std::vector<COLORREF> before, after;
  int answer = RunModal([&] { return static_cast<int>(ShowAboutDialog(dll, nullptr, settings)); },
                        [&](HWND dialog) {
                          caption = WindowText(dialog);
                          face = FontFace(dialog);
                          ExpectDialogUnits(dialog, 275, 267);
                          version = WindowText(GetDlgItem(dialog, kCtlAboutVersion));
                          HWND crawl = GetDlgItem(dialog, kCtlAboutCredits);
                          PumpFor(1500);  // the first lines have come up from the bottom edge
                          before = Pixels(crawl);
                          PumpFor(400);
                          after = Pixels(crawl);
                          Press(dialog, IDOK);
                        });
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(caption, L"关于沃岚鼠标输入法");
  EXPECT_EQ(face, L"宋体");
  EXPECT_EQ(version, WideFromUtf8(InstalledModuleVersion()));
  ASSERT_FALSE(before.empty());
  auto lit = std::count_if(before.begin(), before.end(), [](COLORREF c) { return c != 0; });
  // Stars and the first lines of text, on black.
  EXPECT_GT(lit, 20) << "nothing drawn";
  EXPECT_LT(lit, static_cast<long>(before.size() / 2)) << "the field is not black";
  EXPECT_NE(before, after) << "the crawl does not move";
}

TEST_F(AboutDialogWin, TheLicenceButtonClosesTheDialogAndThenShowsTheLicenceForReading) {
  ModalScript script{[](HWND dialog) { Press(dialog, kCtlAboutLicence); }};
  bool aboutGone = false;
  std::wstring licenceCaption;
  script.then = [&](HWND licence) {
    aboutGone = !IsWindow(script.dialog);
    licenceCaption = WindowText(licence);
    Press(licence, IDOK);
  };
  ScriptTimer timer(script);
  EXPECT_EQ(ShowAboutDialog(dll, nullptr, settings), 1);
  EXPECT_TRUE(aboutGone);
  EXPECT_EQ(licenceCaption, L"沃岚鼠标输入法用户最终许可协议");
}

}  // namespace
}  // namespace tvime
