// The commands that need windows: menus, dialogs, user words from the selection and the
// dictionary manager.

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "about/about_dialog_win.h"
#include "base/dpi_win.h"
#include "base/gbk.h"
#include "base/module_thread_win.h"
#include "base/product_title.h"
#include "base/program_location_win.h"
#include "base/user_data_path_win.h"
#include "base/wide_text_win.h"
#include "engine/user_words.h"
#include "online/open_url_win.h"
#include "online/web_search.h"
#include "panels/panel_windows_win.h"
#include "session/button_bar.h"
#include "session/command_id.h"
#include "session/menus.h"
#include "session/user_word.h"
#include "settings/settings_dialog_win.h"
#include "update/update_agent_win.h"
#include "update/update_server.h"

namespace tvime {
namespace {

// The composition window in front again after a dialog or a message box.
void BringCompositionBack() {
  HWND composition = Windows()->composition;
  if (!composition) return;
  ShowWindow(composition, SW_SHOWNOACTIVATE);
  SetWindowPos(composition, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int MessageBoxUtf8(HWND owner, std::string_view text, std::string_view caption, UINT type) {
  return MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), type);
}

// Where a fetched manager goes: the installation's folder when there is one, else the user's data
// folder, where a user who cannot write the installation may put it.
std::string FetchedManagerPath() {
  std::string installation = Windows()->settings->InstallDirectory();
  if (!installation.empty() && IsExistingFolder(installation)) {
    if (installation.back() != '\\') installation.push_back('\\');
    return installation + kDictionaryManagerFile;
  }
  return UserDataPath(kDictionaryManagerFile);
}

// The installed manager, else one fetched earlier into the user's data folder.
std::string FindDictionaryManager() {
  std::string program =
      FindInstalledProgram(kDictionaryManagerFile, Windows()->settings->InstallDirectory());
  if (!program.empty()) return program;
  std::string fetched = UserDataPath(kDictionaryManagerFile);
  return IsExistingFile(fetched) ? fetched : std::string();
}

// Offers to fetch the missing manager from the update server; its path once it is in place and
// its signature verified, else empty.
std::string FetchDictionaryManager() {
  PanelWindows& w = *Windows();
  if (w.host->ShowMessageBox("由于你没有安装或者下载沃岚鼠标输入法词典管理工具。\n"
                             "你现在需要下载词典管理工具吗？",
                             kProductTitle, MB_YESNO | MB_ICONQUESTION) != IDYES) {
    return {};
  }
  std::string path = FetchedManagerPath();
  UpdateAgent agent(true, TrustedUpdateKey(), w.resources);
  if (agent.DownloadSignedToFile(UpdateBaseUrlOf(*w.settings) + kDictionaryManagerFile, path,
                                 true) != 0) {
    return {};
  }
  return path;
}

void StartDictionaryManager() {
  std::string program = FindDictionaryManager();
  if (program.empty()) program = FetchDictionaryManager();
  if (program.empty()) return;
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  // Started in its own folder: the application's current directory is no business of ours.
  std::string folder = program.substr(0, program.find_last_of('\\') + 1);
  if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process)) {
    return;
  }
  CloseHandle(process.hThread);
  // The words are reloaded on the panel's own thread, which owns the lexicon.
  HWND notify = Windows()->composition;
  HANDLE manager = process.hProcess;
  bool waiting = StartModuleThread([manager, notify] {
    WaitForSingleObject(manager, INFINITE);
    CloseHandle(manager);
    PostMessageW(notify, kReloadUserWords, 0, 0);
  });
  if (!waiting) CloseHandle(manager);
}

void CreateUserWordFromMenu(ContextHandle context) {
  PanelWindows& w = *Windows();
  std::string selected = FetchSelectedText(w.host->ApplicationWindow(context));
  UserWordResult result = CreateUserWord(w.panel->lexicon(), selected, UserWordPath::Menu);
  // The box shows over the composition window; the application gets the foreground back.
  HWND previous = GetForegroundWindow();
  MessageBoxUtf8(w.composition, result.message, kUserWordCaption, MB_OK);
  if (previous) SetForegroundWindow(previous);
  BringCompositionBack();
}

}  // namespace

std::string PanelWindowHost::SearchWord(ContextHandle context) {
  std::string selected = FetchSelectedText(ApplicationWindow(context));
  return selected.empty() ? Windows()->panel->state().lastWord : selected;
}

void OpenNewsEntry(const NewsEntry& entry) {
  PanelWindows& w = *Windows();
  if (w.secureDesktop) return;
  openUrl(NewsClickUrl(entry, ProductSiteOf(*w.settings), w.settings->Read(setting::UserId)));
}

void LookUpWordOnline(std::string_view word) {
  PanelWindows& w = *Windows();
  if (w.secureDesktop) return;
  if (auto page = WordLookupPage(*w.settings, ProductSiteOf(*w.settings), word)) openUrl(*page);
}

int PanelWindowHost::ShowMessageBox(std::string_view text, std::string_view caption, UINT type) {
  return MessageBoxUtf8(nullptr, text, caption, type);
}

void ShowMenu(HWND owner, int menuId, const MenuState& state, POINT at, UINT flags,
              ContextHandle context) {
  PanelWindows& w = *Windows();
  if (w.secureDesktop) return;
  HMENU menu = LoadMenuW(w.resources, MAKEINTRESOURCEW(menuId));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, 0);
  for (int id : state.removed) DeleteMenu(popup, id, MF_BYCOMMAND);
  for (int id : state.checked) CheckMenuItem(popup, id, MF_BYCOMMAND | MF_CHECKED);
  HWND previous = GetForegroundWindow();
  int chosen =
      TrackPopupMenu(popup, flags | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr);
  DestroyMenu(menu);
  if (previous) SetForegroundWindow(previous);
  if (chosen > 0) w.panel->Apply(context, UserAction::Run(chosen));
}

void RunWindowCommand(ContextHandle context, int id) {
  PanelWindows& w = *Windows();
  // Hiding the panel and closing a soft keyboard are all the secure desktop allows.
  if (w.secureDesktop && id != kCmdMinimize && id != kCmdCloseSoftKeyboard) return;
  CompositionPanel& panel = *w.panel;
  POINT cursor;
  GetCursorPos(&cursor);
  if (id >= kCmdFirstSoftKeyboard && id <= kCmdLastSoftKeyboard) {
    ActivateTooltips(false);
    ShowSoftKeyboard();
    return;
  }
  if (id >= kCmdFirstSearchEngine && id <= kCmdLastSearchEngine) {
    w.settings->Write(setting::SearchEngine, id - kCmdFirstSearchEngine);
    return;
  }
  switch (id) {
    case kCmdSetting:
      ShowMenu(w.composition, kMenuMain,
               SettingButtonMenu(panel.flags(), panel.state().mode, w.host->HasExitCommand()),
               cursor, TPM_LEFTBUTTON, context);
      break;
    case kCmdMinimize:
      if (w.composition) ShowWindow(w.composition, SW_HIDE);
      break;
    case kCmdClose:
    case kCmdExit:
      // Only a program of our own may end its message loop; inside the module the loop is the
      // user's application's, with the user's unsaved work.
      if (!w.host->HasExitCommand()) break;
      if (w.settings->Read(setting::QuitAppConfirm) == 0 ||
          w.host->ShowMessageBox("您真的要退出沃岚鼠标输入法外挂应用程序吗？", kProductTitle,
                                 MB_YESNO | MB_ICONQUESTION) == IDYES) {
        PostQuitMessage(0);
      }
      break;
    case kCmdKeyboard:
      if (panel.softKeyboard().shown()) {
        CloseSoftKeyboard();
        ActivateTooltips(true);
      } else {
        ShowMenu(w.composition, kMenuSoftKeyboards, {}, cursor, TPM_LEFTBUTTON, context);
      }
      break;
    case kCmdSettingsDialog:
      RunSettingsDialog(context, GetForegroundWindow());
      BringCompositionBack();
      break;
    case kCmdCloseSoftKeyboard:
      CloseSoftKeyboard();
      ActivateTooltips(true);
      break;
    case kCmdUserWord:
      CreateUserWordFromMenu(context);
      break;
    case kCmdDictionaryManager:
      StartDictionaryManager();
      break;
    case kCmdSearch:
      if (auto page = EngineSearchPage(*w.settings, w.host->SearchWord(context))) openUrl(*page);
      break;
    case kCmdHelp:
      openUrl(ProductSiteOf(*w.settings) + "help/");
      break;
    case kCmdAbout: {
      ActivateTooltips(false);
      // Without an owner: the foreground window may be another program's, and a modal loop
      // disables its owner. The dialog gives the foreground back to the application itself.
      ShowAboutDialog(w.resources, nullptr, *w.settings);
      ActivateTooltips(true);
      BringCompositionBack();
      if (w.composition) InvalidateRect(w.composition, nullptr, TRUE);
      break;
    }
    case kCmdEngineMenu:
      ShowMenu(w.composition, kMenuSearchEngines,
               SearchEngineMenu(w.settings->Read(setting::SearchEngine)), cursor, TPM_RIGHTBUTTON,
               context);
      break;
    default:
      break;
  }
}

int RunSettingsDialog(ContextHandle context, HWND owner) {
  PanelWindows& w = *Windows();
  if (w.secureDesktop) return 0;
  CompositionPanel& panel = *w.panel;
  bool bigCharset = panel.flags().Has(CS_BIG_CHARSET);
  int answer =
      ShowSettingsDialog(w.resources, owner, *w.settings, panel.flags(), panel.EditableOptions());
  if (answer == IDOK) {
    panel.Apply(context, UserAction::NewFlags(panel.flags().Has(CS_BIG_CHARSET) != bigCharset));
    // A new panel size shows at once, at the scale of the monitor the panel is on.
    if (w.composition) ScaleCompositionWindow(w.composition, WindowDpi(w.composition), nullptr);
    ShowInputState(w.host->IsOpen(context));
  }
  return answer;
}

}  // namespace tvime
