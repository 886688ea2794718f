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
#include "tests/support/message_loop_win.h"

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

// Calls `show`, which runs a modal dialog, with the script run on the dialogs it shows.
int RunModal(const std::function<int()>& show, ModalScript& script) {
  runningScript = &script;
  UINT_PTR timer = SetTimer(nullptr, 0, 50, RunScriptStep);
  EXPECT_TRUE(timer);
  int result = show();
  KillTimer(nullptr, timer);
  runningScript = nullptr;
  return result;
}

// With `step` applied to the dialog once it is shown. *dialog receives the dialog the step saw
// (nullptr when none was shown).
int RunModal(const std::function<int()>& show, std::function<void(HWND)> step,
             HWND* dialog = nullptr) {
  ModalScript script{std::move(step)};
  int result = RunModal(show, script);
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

// Every box shown ticked and clear, each time read back after the user turned it over; the
// engine and the panel size (one of four, from 100 %) likewise. The engine list is filled once
// however often the dialog opens, and an engine outside it selects the nearest end.
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
    state.searchEngine = odd ? 9 : -2;
    state.panelSize = odd ? 150 : 100;
    InitSettingsDialogControls(d, state);
    for (const auto& box : kCheckBoxes) {
      EXPECT_EQ(IsChecked(d, box.control), state.*box.field) << box.control;
      SetChecked(d, box.control, !(state.*box.field));
    }
    EXPECT_EQ(SendDlgItemMessageW(d, kCtlSearchEngine, CB_GETCOUNT, 0, 0), 6);
    EXPECT_EQ(SendDlgItemMessageW(d, kCtlSearchEngine, CB_GETCURSEL, 0, 0), odd ? 5 : 0);
    EXPECT_EQ(SendDlgItemMessageW(d, kCtlPanelSize, CB_GETCURSEL, 0, 0), odd ? 2 : 0);
    EXPECT_EQ(ReadSettingsDialogControls(d).panelSize, state.panelSize);
    SendDlgItemMessageW(d, kCtlSearchEngine, CB_SETCURSEL, 4, 0);
    SendDlgItemMessageW(d, kCtlPanelSize, CB_SETCURSEL, 1, 0);
    SettingsDialogState read = ReadSettingsDialogControls(d);
    for (const auto& box : kCheckBoxes) {
      EXPECT_EQ(read.*box.field, !(state.*box.field)) << box.control;
    }
    EXPECT_EQ(read.searchEngine, 4);
    EXPECT_EQ(read.panelSize, 125);
  }
}

// Opened with the current values and changed by the user: OK applies the controls and clears the
// soft keyboard; Cancel and the close box apply nothing.
TEST_F(SettingsDialogWin, OkAppliesTheControlsCancelAndTheCloseBoxApplyNothing) {
  const struct {
    const char* name;
    UINT message;
    WPARAM command;
    int result;
    bool applied;
  } ways[] = {{"ok", WM_COMMAND, IDOK, IDOK, true},
              {"cancel", WM_COMMAND, IDCANCEL, IDCANCEL, false},
              {"close box", WM_CLOSE, 0, IDCANCEL, false}};
  for (const auto& way : ways) {
    SCOPED_TRACE(way.name);
    store = MemorySettingsStore();
    movedByCursor = false;
    flags.Assign(CS_CHINESE_PUNCT | CS_SOFT_KEYBOARD);
    settings.Write(setting::SearchEngine, 2);
    HWND seen = nullptr;
    int result =
        RunModal([&] { return Show(); },
                 [&](HWND dialog) {
                   ExpectCentredOnTheDesktop(dialog);
                   EXPECT_TRUE(IsChecked(dialog, kCtlChinesePunct));
                   EXPECT_FALSE(IsChecked(dialog, kCtlSmallPanel));
                   EXPECT_TRUE(IsChecked(dialog, kCtlOpenWordCiba));
                   EXPECT_EQ(SendDlgItemMessageW(dialog, kCtlSearchEngine, CB_GETCURSEL, 0, 0), 2);
                   SetChecked(dialog, kCtlSmallPanel, true);
                   SetChecked(dialog, kCtlMovedByCursor, true);
                   SendDlgItemMessageW(dialog, kCtlSearchEngine, CB_SETCURSEL, 4, 0);
                   PostMessageW(dialog, way.message, way.command, 0);
                 },
                 &seen);
    ASSERT_TRUE(seen) << "the dialog was not shown";
    EXPECT_EQ(result, way.result);
    EXPECT_FALSE(IsWindow(seen));
    const auto word =
        way.applied ? CS_CHINESE_PUNCT | CS_SMALL_PANEL : CS_CHINESE_PUNCT | CS_SOFT_KEYBOARD;
    EXPECT_EQ(flags.word(), word);
    EXPECT_EQ(settings.Read(setting::ConversionSet), word);
    EXPECT_EQ(settings.Read(setting::SearchEngine), way.applied ? 4 : 2);
    EXPECT_EQ(movedByCursor, way.applied);
    EXPECT_EQ(store.ReadInt(SettingsRoot::User, "MovedByCursor"),
              way.applied ? std::optional<std::uint32_t>(1) : std::nullopt);
  }
}

TEST_F(SettingsDialogWin, AModuleWithoutTheTemplatesGivesMinusOne) {
  EXPECT_EQ(ShowSettingsDialog(GetModuleHandleW(nullptr), nullptr, settings, flags, session), -1);
  EXPECT_EQ(ShowLicenceAgreement(GetModuleHandleW(nullptr), false, settings), -1);
}

// --- The licence agreement ---

class LicenceDialogWin : public DialogDll {
 protected:
  void SetUp() override {
    DialogDll::SetUp();
    // Registers the "RICHEDIT" class the templates use; ShowLicenceAgreement does the same.
    ASSERT_TRUE(LoadLibraryA("RICHED32.DLL"));
  }
};

// The licence, streamed in as formatted text: read as RTF, not shown as its source.
void ExpectTheLicenceText(HWND control) {
  std::wstring text = WindowText(control);
  EXPECT_GT(text.size(), 600u);
  for (const wchar_t* part : {L"沃岚鼠标输入法", L"LGPL", L"LGPL-2.1+", L"LGPL-3", L"Unihan",
                              L"Unicode", L"jieba", L"MIT", L"OpenCC", L"Apache-2.0"}) {
    EXPECT_NE(text.find(part), std::wstring::npos) << part;
  }
  EXPECT_EQ(text.find(L"rtf1"), std::wstring::npos);
  EXPECT_EQ(text.find(L"\\'"), std::wstring::npos);
}

TEST_F(LicenceDialogWin, StreamsTheWholeResourceAndNothingFromAModuleWithoutIt) {
  Window dialog(CreateDialogParamW(dll, MAKEINTRESOURCEW(kLicenceReadingDialogId), nullptr,
                                   PassiveDialogProc, 0));
  ASSERT_TRUE(dialog);
  HWND text = GetDlgItem(dialog.get(), kCtlLicenceText);
  EXPECT_EQ(StreamLicenceInto(text, GetModuleHandleW(nullptr)), 0u);
  EXPECT_EQ(GetWindowTextLengthW(text), 0);
  HRSRC licence = FindResourceA(dll, "LICENSE", MAKEINTRESOURCEA(10));
  ASSERT_TRUE(licence);
  EXPECT_EQ(StreamLicenceInto(text, dll), SizeofResource(dll, licence));
  EXPECT_GT(GetWindowTextLengthW(text), 600);
}

TEST_F(LicenceDialogWin, StartModeIsSkippedOnceTheUserAskedNotToSeeIt) {
  settings.Write(setting::NoShowLicense, 1);
  HWND seen = nullptr;
  int result = RunModal([&] { return ShowLicenceAgreement(dll, false, settings); },
                        [](HWND dialog) { EndDialog(dialog, kTimedOut); }, &seen);
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(seen);
}

// Every way of ending the start and the reading dialog: it opens centred at the top of the text
// with nothing selected, the box shows what is stored, other commands leave the dialog open, and
// the answer and what is stored follow the way it ended. Refusing stores nothing, whatever the
// box.
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
    int result = RunModal([&] { return ShowLicenceAgreement(dll, c.reading, settings); },
                          [&](HWND dialog) {
                            ExpectCentredOnTheDesktop(dialog);
                            EXPECT_EQ(GetDlgItem(dialog, IDCANCEL) == nullptr, c.reading)
                                << "another dialog";
                            EXPECT_EQ(IsChecked(dialog, kCtlNoShowLicence), c.storedTicked);
                            HWND text = GetDlgItem(dialog, kCtlLicenceText);
                            ExpectTheLicenceText(text);
                            DWORD start = 1, end = 1;
                            SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                         reinterpret_cast<LPARAM>(&end));
                            EXPECT_EQ(start, 0u);
                            EXPECT_EQ(end, 0u);
                            EXPECT_EQ(SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
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
    EXPECT_EQ(store.ReadInt(SettingsRoot::User, "NoShowLicense3.1"), c.stored);
  }
}

// --- The about dialog ---

class AboutDialogWin : public DialogDll {};

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

// The dialog's timers and paints run inside the modal loop's timer step.
TEST_F(AboutDialogWin, ShowsTheModulesVersionAndCrawlsTheCreditsOverTheStars) {
  std::wstring version;
  std::vector<COLORREF> before, after;
  int answer = RunModal([&] { return static_cast<int>(ShowAboutDialog(dll, nullptr, settings)); },
                        [&](HWND dialog) {
                          version = WindowText(GetDlgItem(dialog, kCtlAboutVersion));
                          HWND crawl = GetDlgItem(dialog, kCtlAboutCredits);
                          // The first lines have come up from the bottom edge.
                          testing::PumpMessagesFor(1500);
                          before = Pixels(crawl);
                          testing::PumpMessagesFor(400);
                          after = Pixels(crawl);
                          Press(dialog, IDOK);
                        });
  EXPECT_EQ(answer, 0);
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
  EXPECT_EQ(
      RunModal([&] { return static_cast<int>(ShowAboutDialog(dll, nullptr, settings)); }, script),
      1);
  EXPECT_TRUE(aboutGone);
  EXPECT_EQ(licenceCaption, L"沃岚鼠标输入法用户最终许可协议");
}

}  // namespace
}  // namespace tvime
