// tvimedic: the dictionary manager, where the user edits their own words. One copy at a time.

#include <windows.h>

#include "base/file_save_lock_win.h"
#include "base/user_data_path_win.h"
#include "dictmgr/dict_manager_dialog_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Tavrin.TVIME.DictManager");
  if (!mutex) return 0;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return 0;
  }
  // The start-up update check (the update agent's checkAndUpdateSelf for "tvimedic.exe") comes
  // here once the update agent exists; until then the manager starts without one.
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
