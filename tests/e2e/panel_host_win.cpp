// tvime-panel-host: the panels on screen with a host that records what an application would
// receive, for the end-to-end tests of the windows under Wine and Xvfb.
//
//   tvime-panel-host.exe LOG LAYOUT [--mode strokes|pinyin|association|keyboard] [--seconds N]
//
// It writes "ready X Y" (the composition window's client origin on the screen) and then one line
// per message for the application to LOG (UTF-8): "text <committed text>" or "key <code>". LAYOUT
// always holds the items the panel shows now, one per line: "KIND VALUE LEFT TOP RIGHT BOTTOM
// LABEL", so that a test clicks where an item really is.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>

#include "base/gbk.h"
#include "panels/panel_runtime_win.h"
#include "panels/panel_windows_win.h"
#include "panels/windows_session_host_win.h"
#include "session/command_id.h"
#include "session/layout_report.h"
#include "settings/registry_settings_store_win.h"

namespace tvime {
namespace {

constexpr wchar_t kCompositionClass[] = L"TavrinIME3Test_COMP";
constexpr wchar_t kStatusClass[] = L"TavrinIME3Test_STATUS";

FILE* g_log = nullptr;

void Log(const std::string& line) {
  if (!g_log) return;
  std::fputs((line + "\n").c_str(), g_log);
  std::fflush(g_log);
}

class RecordingHost : public WindowsSessionHost {
 public:
  void Commit(ContextHandle, std::string_view text) override { Log("text " + GbkToUtf8(text)); }
  void ReturnKey(ContextHandle, unsigned virtualKey) override {
    Log("key " + std::to_string(virtualKey));
  }
  void PanelChanged(ContextHandle) override {}
};

// Files are named in the ANSI code page, as everywhere in the programs.
std::string AnsiPath(const wchar_t* path) {
  char narrow[MAX_PATH * 2] = {};
  WideCharToMultiByte(CP_ACP, 0, path, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

class TestWindowHost : public PanelWindowHost {
 public:
  ContextHandle ContextFor(HWND) override { return 1; }
  HWND ApplicationWindow(ContextHandle) override { return nullptr; }
  bool IsOpen(ContextHandle) override { return open_; }
  void SetOpen(ContextHandle, bool open) override { open_ = open; }

 private:
  bool open_ = true;
};

}  // namespace
}  // namespace tvime

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  using namespace tvime;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  g_log = _wfopen(argv[1], L"wb");
  LayoutReport layout(AnsiPath(argv[2]));
  std::wstring mode = L"strokes";
  int seconds = 60;
  for (int i = 3; i + 1 < argc; i += 2) {
    if (std::wstring(argv[i]) == L"--mode") mode = argv[i + 1];
    if (std::wstring(argv[i]) == L"--seconds") seconds = _wtoi(argv[i + 1]);
  }

  // Every run starts from the defaults, whatever an earlier run left in the registry.
  RegistrySettingsStore store;
  Settings settings(store);
  for (const IntSetting& value :
       {setting::PinYinMode, setting::SearchMode, setting::InputBihuaByKey, setting::MovedByCursor,
        setting::ConversionSet, setting::CompPos, setting::Position, setting::PhraseSortMode}) {
    settings.Write(value, value.defaultValue);
  }
  RecordingHost sessionHost;
  TestWindowHost windowHost;
  PanelRuntime runtime(instance, settings, sessionHost, windowHost, nullptr,
                       DictionarySharing::Private);
  CompositionPanel& panel = runtime.panel;
  PanelWindows& windows = runtime.windows;
  RegisterPanelWindowClasses(instance, kCompositionClass, kStatusClass,
                             CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);

  // A hidden owner stands for the program's UI window.
  HWND owner = CreateWindowExW(0, L"STATIC", L"tvime panel host", WS_POPUP, 0, 0, 1, 1, nullptr,
                               nullptr, instance, nullptr);
  HWND composition = CreateCompositionWindow(instance, kCompositionClass, owner);
  CreateStatusBarWindow(instance, kStatusClass, owner);
  if (mode == L"pinyin") panel.Apply(1, UserAction::Run(kCmdPinyinSwitch));
  if (mode == L"association") {
    for (int stroke : {1, 4, 0, 1}) panel.AddStroke(1, stroke);  // 竖 折 横 竖
    panel.Refresh(1, false);
    panel.ChooseCharacter(1, panel.lists().mainList.front());
    panel.Refresh(1, false);
  }
  ShowCompositionWindow(composition);
  SetWindowPos(composition, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (mode == L"keyboard") {
    panel.Apply(1, UserAction::Run(kCmdFirstSoftKeyboard + 13));  // 全角字符
    if (HWND keyboard = windows.softKeyboard) {
      POINT at{0, 0};
      ClientToScreen(keyboard, &at);
      Log("keyboard " + std::to_string(at.x) + " " + std::to_string(at.y));
    }
  }
  POINT origin{0, 0};
  ClientToScreen(composition, &origin);
  Log("ready " + std::to_string(origin.x) + " " + std::to_string(origin.y));

  UINT_PTR end = SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
  SetTimer(nullptr, 0, 100, nullptr);  // the layout file follows the panel
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) {
      if (message.wParam == end) break;
      layout.Update(panel);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  Log("end");
  if (g_log) std::fclose(g_log);
  return 0;
}
