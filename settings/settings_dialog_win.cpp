#include "settings/settings_dialog_win.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace tvime {
namespace {

// In the order of the "SearchEngine" values.
constexpr const wchar_t* kSearchEngineNames[] = {L"百度", L"谷歌", L"Google",
                                                 L"搜狗", L"雅虎", L"MSN"};
constexpr int kSearchEngineCount = static_cast<int>(std::size(kSearchEngineNames));

struct SettingsDialogContext {
  Settings& settings;
  ConversionFlags& flags;
  const SessionOptions& session;
};

void SetCheck(HWND dialog, int control, bool checked) {
  CheckDlgButton(dialog, control, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool GetCheck(HWND dialog, int control) {
  return IsDlgButtonChecked(dialog, control) == BST_CHECKED;
}

INT_PTR HandleSettingsMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      auto* context = reinterpret_cast<SettingsDialogContext*>(lParam);
      CenterOnDesktop(dialog);
      if (context) {
        InitSettingsDialogControls(
            dialog, LoadSettingsDialog(context->settings, context->flags, context->session));
      }
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          auto* context =
              reinterpret_cast<SettingsDialogContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
          if (context) {
            ApplySettingsDialog(ReadSettingsDialogControls(dialog), context->settings,
                                context->flags, context->session);
          }
          EndDialog(dialog, IDOK);
          return TRUE;
        }
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return TRUE;
      }
      // The boxes keep their own state until OK.
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  // Only an allocation in the settings store can throw; it must not unwind into the system's
  // dialog manager. The dialog then stays as it is and Cancel still closes it.
  try {
    return HandleSettingsMessage(dialog, message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

int ShowSettingsDialog(HINSTANCE resources, HWND owner, Settings& settings, ConversionFlags& flags,
                       const SessionOptions& session) {
  SettingsDialogContext context{settings, flags, session};
  return static_cast<int>(DialogBoxParamW(resources, MAKEINTRESOURCEW(kSettingsDialogId), owner,
                                          SettingsDialogProc, reinterpret_cast<LPARAM>(&context)));
}

void InitSettingsDialogControls(HWND dialog, const SettingsDialogState& state) {
  SetCheck(dialog, kCtlChinesePunct, state.chinesePunct);
  SetCheck(dialog, kCtlFullShape, state.fullShape);
  SetCheck(dialog, kCtlBigCharset, state.bigCharset);
  SetCheck(dialog, kCtlSmallPanel, state.smallPanel);
  SendDlgItemMessageW(dialog, kCtlSearchEngine, CB_RESETCONTENT, 0, 0);
  for (const wchar_t* name : kSearchEngineNames) {
    SendDlgItemMessageW(dialog, kCtlSearchEngine, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
  }
  int engine = std::clamp(state.searchEngine, 0, kSearchEngineCount - 1);
  SendDlgItemMessageW(dialog, kCtlSearchEngine, CB_SETCURSEL, engine, 0);
  SetCheck(dialog, kCtlStrokeKeys, state.keyStrokes);
  SetCheck(dialog, kCtlQuitConfirm, state.quitConfirm);
  SetCheck(dialog, kCtlPhraseSort, state.phraseSort);
  SetCheck(dialog, kCtlMovedByCursor, state.movedByCursor);
  SetCheck(dialog, kCtlOpenWordCiba, state.openWordCiba);
  SetCheck(dialog, kCtlLearnChoices, state.learnChoices);
  SendDlgItemMessageW(dialog, kCtlPanelSize, CB_RESETCONTENT, 0, 0);
  int selected = 0;
  for (int i = 0; i < static_cast<int>(std::size(kPanelSizes)); ++i) {
    std::wstring name = std::to_wstring(kPanelSizes[i]) + L" %";
    SendDlgItemMessageW(dialog, kCtlPanelSize, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(name.c_str()));
    if (kPanelSizes[i] == state.panelSize) selected = i;
  }
  SendDlgItemMessageW(dialog, kCtlPanelSize, CB_SETCURSEL, selected, 0);
  SetCheck(dialog, kCtlPredictNext, state.predictNext);
}

SettingsDialogState ReadSettingsDialogControls(HWND dialog) {
  SettingsDialogState state;
  state.chinesePunct = GetCheck(dialog, kCtlChinesePunct);
  state.fullShape = GetCheck(dialog, kCtlFullShape);
  state.bigCharset = GetCheck(dialog, kCtlBigCharset);
  state.smallPanel = GetCheck(dialog, kCtlSmallPanel);
  // CB_ERR (no selection) reads as the first engine.
  LRESULT engine = SendDlgItemMessageW(dialog, kCtlSearchEngine, CB_GETCURSEL, 0, 0);
  state.searchEngine =
      engine == CB_ERR ? 0 : std::clamp(static_cast<int>(engine), 0, kSearchEngineCount - 1);
  state.keyStrokes = GetCheck(dialog, kCtlStrokeKeys);
  state.quitConfirm = GetCheck(dialog, kCtlQuitConfirm);
  state.phraseSort = GetCheck(dialog, kCtlPhraseSort);
  state.movedByCursor = GetCheck(dialog, kCtlMovedByCursor);
  state.openWordCiba = GetCheck(dialog, kCtlOpenWordCiba);
  state.learnChoices = GetCheck(dialog, kCtlLearnChoices);
  LRESULT size = SendDlgItemMessageW(dialog, kCtlPanelSize, CB_GETCURSEL, 0, 0);
  state.panelSize =
      size >= 0 && size < static_cast<LRESULT>(std::size(kPanelSizes)) ? kPanelSizes[size] : 100;
  state.predictNext = GetCheck(dialog, kCtlPredictNext);
  return state;
}

void CenterOnDesktop(HWND window) {
  RECT desktop, rect;
  if (!GetWindowRect(GetDesktopWindow(), &desktop) || !GetWindowRect(window, &rect)) return;
  int x = desktop.left + ((desktop.right - desktop.left) - (rect.right - rect.left)) / 2;
  int y = desktop.top + ((desktop.bottom - desktop.top) - (rect.bottom - rect.top)) / 2;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tvime
