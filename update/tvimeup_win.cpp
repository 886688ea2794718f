// tvimeup: brings the installed files up to date, itself first, then the dictionary manager, then
// the input-method module in the system directory. Silent unless started with "-showui"; each
// update is announced by a notification. One copy at a time; the exit code is always 0.

#include <windows.h>

#include <imm.h>

#include <ctime>
#include <string>

#include "base/program_location_win.h"
#include "base/program_start_win.h"
#include "base/wide_text_win.h"
#include "settings/registry_settings_store_win.h"
#include "update/file_swap_win.h"
#include "update/notification_popup_win.h"
#include "update/update_agent_win.h"
#include "update/update_rules.h"
#include "update/update_server.h"
#include "update/updater_rules.h"

namespace tvime {
namespace {

// The notification, with the updated file's version where the text has "%s".
void Announce(HINSTANCE instance, const Settings& settings, std::string_view format,
              const std::string& updatedFile) {
  std::string text(format);
  size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, fileVersionString(updatedFile));
  NotificationPopup popup(text, ProductSiteOf(settings) + "changelog.php");
  popup.ShowAndWait(instance);
}

// The input method's files in the system folder: the module and the text service.
constexpr const char* kSystemFiles[] = {"tvime30.ime", "tvimetsf.dll"};

// The system folder, or on 64-bit Windows for a 64-bit updater with `wow64` the folder of the
// 32-bit files; empty when there is none.
std::string SystemFolder(bool wow64) {
  if (wow64 && sizeof(void*) != 8) return {};
  char folder[MAX_PATH] = {};
  UINT length =
      wow64 ? GetSystemWow64DirectoryA(folder, MAX_PATH) : GetSystemDirectoryA(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH - 16 ? std::string(folder, length) : std::string();
}

int Run(HINSTANCE instance, std::string_view commandLine) {
  ImmDisableIME(static_cast<DWORD>(-1));
  SingleInstance single(L"Tavrin.TVIME.Updater");
  if (!single.isFirst()) return 0;
  DeleteFileA("C:\\tvimedbg.log");
  RegistrySettingsStore store;
  Settings settings(store);
  std::string base = UpdateBaseUrlOf(settings);
  UpdateAgent agent(IsInteractiveCommandLine(commandLine));

  // Itself first: a new updater finishes the work, silently.
  UpdateResult self = agent.CheckAndUpdateSelf(base, nullptr, "", "tvimeup.exe");
  if (self == UpdateResult::MustNotContinue) return 0;
  if (self == UpdateResult::Updated) {
    Announce(instance, settings,
             "更新通知\n\n更新工具进行了升级，新版本为 %s，程序会自动重新启动！", OwnProgramPath());
    RestartAfterUpdate(single, SW_HIDE);
    return 0;
  }

  // Never the current directory: the input method starts this from inside applications.
  std::string manager = FindInstalledProgram("tvimedic.exe", settings.InstallDirectory());
  if (!manager.empty() &&
      agent.CheckAndUpdate(base, nullptr, manager, "", "") == UpdateResult::Updated) {
    Announce(instance, settings, "更新通知\n\n沃岚鼠标输入法词典工具更新到最新版本 %s ！", manager);
  }

  std::string system = SystemFolder(false);
  if (system.empty()) return 0;
  // On 64-bit Windows the 32-bit applications load the 32-bit files from SysWOW64: they come
  // from the 32-bit installation's folder. (A 32-bit updater's system folder is that one.)
  std::string wow64 = SystemFolder(true), x86 = X86UpdateBaseUrl(base);
  for (const char* name : kSystemFiles) {
    for (const auto& [folder, from] : {std::pair{system, base}, std::pair{wow64, x86}}) {
      std::string file = folder + "\\" + name;
      // The module is the installation's own; a 32-bit file or a text service that it does not
      // have is not fetched.
      bool mayBeAbsent = folder == wow64 || std::string_view(name) != kSystemFiles[0];
      if (folder.empty() || from.empty() || (mayBeAbsent && !IsExistingFile(file))) continue;
      UpdateResult result = agent.CheckAndUpdate(from, nullptr, file, "", "");
      if (result == UpdateResult::MustNotContinue) return 0;
      if (result == UpdateResult::Updated) {
        Announce(instance, settings, "更新通知\n\n沃岚鼠标输入法更新到最新版本 %s ！", file);
      }
    }
  }
  settings.Write(setting::ExecUpdate, static_cast<std::int32_t>(std::time(nullptr)));
  return 0;
}

}  // namespace
}  // namespace tvime

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  return tvime::GuardedEntry(
      [&] { return tvime::Run(instance, tvime::Utf8FromWide(commandLine ? commandLine : L"")); });
}
