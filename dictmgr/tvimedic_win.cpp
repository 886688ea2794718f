// tvimedic: the dictionary manager, where the user edits their own words. One copy at a time.

#include <windows.h>

#include <memory>

#include "base/file_save_lock_win.h"
#include "base/program_location_win.h"
#include "base/program_start_win.h"
#include "base/user_data_path_win.h"
#include "base/wide_text_win.h"
#include "dictmgr/dict_manager_dialog_win.h"
#include "settings/registry_settings_store_win.h"
#include "update/background_update_win.h"
#include "update/update_agent_win.h"
#include "update/update_server.h"

namespace {

constexpr UINT kUpdateCheckEnded = WM_APP + 1;
constexpr wchar_t kUpdateWindowClass[] = L"TavrinIME3DictUpdate";

tvime::BackgroundUpdateCheck* g_check = nullptr;
bool g_restart = false;

// Ends the manager's dialog as its close box would (unsaved words are asked about).
BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(window)) {
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
  }
  return TRUE;
}

// Hears the end of the start-up check while the dialog runs: a verified newer manager is asked
// about then, and when it is in place the dialog closes and the manager starts again.
LRESULT CALLBACK UpdateWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != kUpdateCheckEnded || !g_check) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  tvime::UpdateResult result = g_check->Conclude();
  if (result == tvime::UpdateResult::Updated) {
    MessageBoxW(nullptr, tvime::WideFromUtf8("软件更新成功，需要重新运行程序，请稍等。").c_str(),
                tvime::WideFromUtf8(tvime::kProductTitle).c_str(), MB_OK);
    g_restart = true;
  }
  if (result == tvime::UpdateResult::Updated || result == tvime::UpdateResult::MustNotContinue) {
    EnumThreadWindows(GetCurrentThreadId(), CloseDialog, 0);
  }
  return 0;
}

int Run(HINSTANCE instance) {
  tvime::SingleInstance single(L"Tavrin.TVIME.DictManager");
  if (!single.isFirst()) return 0;
  // A newer manager published: looked for in the background while the dialog opens at once.
  tvime::RegistrySettingsStore store;
  tvime::Settings settings(store);
  WNDCLASSW updateClass{};
  updateClass.lpfnWndProc = UpdateWindowProc;
  updateClass.hInstance = instance;
  updateClass.lpszClassName = kUpdateWindowClass;
  RegisterClassW(&updateClass);
  HWND updateWindow = CreateWindowW(kUpdateWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    instance, nullptr);
  std::unique_ptr<tvime::BackgroundUpdateCheck> check;
  if (updateWindow) {
    check = std::make_unique<tvime::BackgroundUpdateCheck>(
        tvime::UpdateBaseUrlOf(settings), "", "tvimedic.exe", updateWindow, kUpdateCheckEnded);
    g_check = check.get();
  }

  tvime::SystemPrompts prompts;
  tvime::DictManagerSetup setup;
  setup.resources = instance;
  setup.prompts = &prompts;
  setup.wordFilePath = tvime::UserDataPath;
  setup.locker = tvime::LockFileSaves;
  tvime::RunDictManagerDialog(setup);
  g_check = nullptr;
  check.reset();
  if (updateWindow) DestroyWindow(updateWindow);
  if (g_restart) tvime::RestartAfterUpdate(single, SW_SHOW);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return tvime::GuardedEntry([&] { return Run(instance); });
}
