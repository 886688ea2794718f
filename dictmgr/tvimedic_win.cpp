// tvimedic: the dictionary manager, where the user edits their own words. One copy at a time.

#include <windows.h>

#include "base/file_save_lock_win.h"
#include "base/program_location_win.h"
#include "base/user_data_path_win.h"
#include "base/wide_text_win.h"
#include "dictmgr/dict_manager_dialog_win.h"
#include "settings/registry_settings_store_win.h"
#include "update/update_agent_win.h"
#include "update/update_server.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Tavrin.TVIME.DictManager");
  if (!mutex) return 0;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return 0;
  }
  // A newer manager published: updated before anything else, then started again.
  {
    tvime::RegistrySettingsStore store;
    tvime::Settings settings(store);
    tvime::UpdateAgent agent(true);
    tvime::UpdateResult result =
        agent.checkAndUpdateSelf(tvime::UpdateBaseUrlOf(settings), nullptr, "", "tvimedic.exe");
    if (result == tvime::UpdateResult::MustNotContinue) {
      CloseHandle(mutex);
      return 0;
    }
    if (result == tvime::UpdateResult::Updated) {
      MessageBoxW(nullptr, tvime::WideFromUtf8("软件更新成功，需要重新运行程序，请稍等。").c_str(),
                  tvime::WideFromUtf8("沃岚鼠标输入法 3.1").c_str(), MB_OK);
      CloseHandle(mutex);
      tvime::StartOwnProgramAgain(SW_SHOW);
      return 0;
    }
  }
  tvime::SystemPrompts prompts;
  tvime::DictManagerSetup setup;
  setup.resources = instance;
  setup.prompts = &prompts;
  setup.wordFilePath = tvime::UserDataPath;
  setup.locker = tvime::LockFileSaves;
  tvime::RunDictManagerDialog(setup);
  CloseHandle(mutex);
  return 0;
}
