// tvimegui: the stand-alone program. One instance lives in the notification area; its panel stays
// on top of every window without taking the focus, and the chosen text is typed into the focused
// control of whatever application is in front.
//
// For the end-to-end tests: TVIME_TRACE names a timing trace (gui/event_trace_win.h), and
// TVIME_LAYOUT a file that always holds the items the panel shows (session/layout_report.h).

#include <windows.h>

#include <imm.h>
#include <shellapi.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "base/gdi_scope_win.h"
#include "base/program_location_win.h"
#include "base/program_start_win.h"
#include "base/user_data_path_win.h"
#include "base/wide_text_win.h"
#include "gui/event_trace_win.h"
#include "gui/gui_host_win.h"
#include "online/background_service_win.h"
#include "panels/guarded_window_proc_win.h"
#include "panels/panel_runtime_win.h"
#include "resources/resource_ids.h"
#include "session/command_id.h"
#include "session/layout_report.h"
#include "settings/licence_dialog_win.h"
#include "settings/registry_settings_store_win.h"
#include "settings/user_id.h"
#include "update/background_update_win.h"
#include "update/update_agent_win.h"
#include "update/update_rules.h"
#include "update/update_server.h"

namespace tvime {
namespace {

constexpr wchar_t kMutexName[] = L"Tavrin.TVIME.GUIApp";
constexpr int kClassNameString = IDS_GUI_CLASS_NAME;
constexpr int kTitleString = IDS_GUI_TITLE;
constexpr int kProgramIcon = IDI_GUI;
constexpr int kSmallIcon = IDI_GUI_SMALL;
constexpr int kTrayMenu = IDR_TRAY_MENU;
constexpr int kAccelerators = IDR_GUI_ACCELERATORS;
constexpr UINT kTrayCallback = 0x40A;
constexpr UINT kTrayIconId = 100;
constexpr UINT kUpdateCheckEnded = WM_APP + 1;
constexpr UINT_PTR kServiceTimer = 100;
constexpr UINT kServicePeriodMs = 60000;
constexpr UINT_PTR kLayoutTimer = 101;
constexpr UINT kLayoutPeriodMs = 100;

constexpr wchar_t kUiClass[] = L"TavrinIME3App_UI";
constexpr wchar_t kCompositionClass[] = L"TavrinIME3App_COMP";
constexpr wchar_t kStatusClass[] = L"TavrinIME3App_STATUS";

std::unique_ptr<LayoutReport> g_layoutReport;  // only when TVIME_LAYOUT is set

std::wstring LoadResourceString(HINSTANCE instance, int id) {
  wchar_t text[100] = {};
  LoadStringW(instance, id, text, 100);
  return text;
}

void ToggleComposition() {
  HWND composition = Windows()->composition;
  if (!composition) return;
  if (IsWindowVisible(composition)) {
    ShowWindow(composition, SW_HIDE);
  } else {
    ShowCompositionWindow(composition);
  }
}

void TrayMenu(HWND window) {
  HMENU menu = LoadMenuW(Windows()->resources, MAKEINTRESOURCEW(kTrayMenu));
  if (!menu) return;
  SetForegroundWindow(window);
  TrackPopupMenu(GetSubMenu(menu, 0), TPM_RIGHTBUTTON, GetSystemMetrics(SM_CXSCREEN) - 15,
                 GetSystemMetrics(SM_CYSCREEN) - 15, 0, window, nullptr);
  DestroyMenu(menu);
}

// The start-up update check. It runs in the background once the windows are up; the main
// window hears when it has ended, and only then is the user asked, about a newer file that has
// already been downloaded and verified.
struct StartUpUpdate {
  Settings* settings = nullptr;
  SingleInstance* instance = nullptr;
  std::uint32_t now = 0;
  bool automaticOff = false;
  std::unique_ptr<BackgroundUpdateCheck> check;
};
StartUpUpdate g_update;

void StartUpdateCheckIfDue(HWND main, SingleInstance& instance, Settings& settings) {
  auto now = static_cast<std::uint32_t>(time(nullptr));
  bool automaticOff = settings.Read(setting::GUIAppUpdateDisableAuto) != 0;
  auto lastCheck = static_cast<std::uint32_t>(settings.Read(setting::GUIAppUpdate));
  if (!UpdateCheckDue(now, lastCheck, automaticOff)) return;
  g_update.settings = &settings;
  g_update.instance = &instance;
  g_update.now = now;
  g_update.automaticOff = automaticOff;
  g_update.check = std::make_unique<BackgroundUpdateCheck>(UpdateBaseUrlOf(settings), "",
                                                           "tvimegui.exe", main, kUpdateCheckEnded);
}

// The check has ended: asks, and ends the program when a mandatory update was refused or the
// updated program has been started again.
void ConcludeUpdateCheck(HWND main) {
  if (!g_update.check) return;
  UpdateResult result = g_update.check->Conclude();
  Settings& settings = *g_update.settings;
  if (result == UpdateResult::MustNotContinue) {
    DestroyWindow(main);
    return;
  }
  settings.Write(setting::GUIAppUpdate, static_cast<std::int32_t>(g_update.now));
  std::wstring title = WideFromUtf8(kProductTitle);
  if (result == UpdateResult::Declined && !g_update.automaticOff) {
    std::wstring question = WideFromUtf8(
        "您取消或没有下载更新版本的输入法，您是否要取消程序的自动更新功能？\n\n"
        "如果您选择“是”，软件将在15天之内不会执行自动更新功能，\n"
        "届时需要您手动到网站下载更新版本。");
    if (MessageBoxW(nullptr, question.c_str(), title.c_str(),
                    MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES) {
      settings.Write(setting::GUIAppUpdateDisableAuto, 1);
    }
  } else if (result == UpdateResult::Updated) {
    settings.Write(setting::GUIAppUpdateDisableAuto, 0);
    std::wstring told = WideFromUtf8(
        "软件更新成功，需要重新运行程序，请确认后继续。\n如果程序更新后不能正常启动，请从网站 " +
        ProductSiteOf(settings) + " 重新下载该文件。");
    MessageBoxW(nullptr, told.c_str(), title.c_str(), MB_OK | MB_ICONINFORMATION);
    RestartAfterUpdate(*g_update.instance, SW_SHOW);
    DestroyWindow(main);
  }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      SetTimer(window, kServiceTimer, kServicePeriodMs, nullptr);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kServiceTimer);
      KillTimer(window, kLayoutTimer);
      PostQuitMessage(0);
      return 0;
    case WM_PAINT: {
      PaintScope paint(window);  // the hidden main window has nothing to draw
      return 0;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kCmdTrayExit:
          DestroyWindow(window);
          return 0;
        case kCmdTrayAbout:
          PostMessageW(Windows()->composition, WM_COMMAND, kCmdAbout, 0);
          return 0;
        case kCmdTraySettings:
          PostMessageW(Windows()->composition, WM_COMMAND, kCmdSettingsDialog, 0);
          return 0;
        default:
          return DefWindowProcW(window, message, wParam, lParam);
      }
    case WM_TIMER:
      if (wParam == kLayoutTimer && g_layoutReport && Windows()->panel) {
        g_layoutReport->Update(*Windows()->panel);
      }
      // Asked for every minute; it starts once.
      if (wParam == kServiceTimer && Windows()->panel) StartNewsService();
      return 0;
    case kUpdateCheckEnded:
      ConcludeUpdateCheck(window);
      return 0;
    case kTrayCallback:
      if (lParam == WM_LBUTTONDOWN) ToggleComposition();
      if (lParam == WM_RBUTTONDOWN) TrayMenu(window);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

// The UI window of the program: no input context; it owns the composition panel.
LRESULT CALLBACK UiWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    HINSTANCE instance = reinterpret_cast<LPCREATESTRUCTW>(lParam)->hInstance;
    HWND composition = CreateCompositionWindow(instance, kCompositionClass, window);
    if (composition) {
      ShowCompositionWindow(composition);
      SetWindowPos(composition, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      RECT shown;
      GetWindowRect(composition, &shown);
      TraceEvent("panel-left", shown.left);
      TraceEvent("panel-top", shown.top);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

NOTIFYICONDATAW TrayIcon(HWND window, HINSTANCE instance, const std::wstring& tip) {
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = kTrayIconId;
  icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.uCallbackMessage = kTrayCallback;
  icon.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIcon));
  tip.copy(icon.szTip, std::size(icon.szTip) - 1);
  return icon;
}

int Run(HINSTANCE instance) {
  // One instance: a second start ends at once.
  SingleInstance single(kMutexName);
  if (!single.isFirst()) return 0;
  if (GetFileAttributesA("C:\\tvimedbg.log") != INVALID_FILE_ATTRIBUTES) {
    DeleteFileA("C:\\tvimedbg.log");
  }
  OpenEventTrace();
  TraceEvent("program-start");
  std::wstring title = LoadResourceString(instance, kTitleString);
  std::wstring className = LoadResourceString(instance, kClassNameString);

  RegistrySettingsStore store;
  Settings settings(store);
  if (ShowLicenceAgreement(instance, false, settings) != 1) return 0;
  WNDCLASSEXW mainClass{};
  mainClass.cbSize = sizeof mainClass;
  mainClass.style = CS_HREDRAW | CS_VREDRAW;
  mainClass.lpfnWndProc = GuardedWindowProc<MainWindowProc>;
  mainClass.hInstance = instance;
  mainClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIcon));
  mainClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(kSmallIcon));
  mainClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  mainClass.lpszMenuName = MAKEINTRESOURCEW(kTrayMenu);
  mainClass.lpszClassName = className.c_str();
  RegisterClassExW(&mainClass);
  HWND main = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              nullptr, instance, nullptr);
  if (!main) return 0;
  // Our own threads never get a system input method: text goes out as characters instead.
  ImmDisableIME(static_cast<DWORD>(-1));
  NOTIFYICONDATAW icon = TrayIcon(main, instance, title);
  Shell_NotifyIconW(NIM_ADD, &icon);

  // The engine and the panels, as the input method starts them.
  EnsureUserId(settings, NewGuidText, static_cast<std::int64_t>(time(nullptr)));
  GuiSessionHost sessionHost;
  GuiWindowHost windowHost;
  PanelRuntime runtime(instance, settings, sessionHost, windowHost, UserDataPath,
                       DictionarySharing::Shared);
  RegisterPanelWindowClasses(instance, kCompositionClass, kStatusClass,
                             CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  RegisterPanelWindowClass(instance, kUiClass, GuardedWindowProc<UiWindowProc>,
                           CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
  CreateWindowExW(WS_EX_TOPMOST, kUiClass, L"Tavrin IME App Stanlone", WS_POPUP | WS_BORDER, 0, 0,
                  0, 0, GetDesktopWindow(), nullptr, instance, nullptr);

  if (const char* layoutPath = std::getenv("TVIME_LAYOUT")) {
    g_layoutReport = std::make_unique<LayoutReport>(layoutPath);
    SetTimer(main, kLayoutTimer, kLayoutPeriodMs, nullptr);
  }

  // With the panel up: the check never holds up the first window.
  StartUpdateCheckIfDue(main, single, settings);

  HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(kAccelerators));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (accelerators && TranslateAcceleratorW(message.hwnd, accelerators, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // The news line goes with the runtime: the service must hand it nothing more.
  StopBackgroundService();
  g_update.check.reset();
  Shell_NotifyIconW(NIM_DELETE, &icon);
  return static_cast<int>(message.wParam);
}

}  // namespace
}  // namespace tvime

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return tvime::GuardedEntry([&] { return tvime::Run(instance); });
}
