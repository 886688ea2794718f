// Asks questions of another program's windows from a script:
//   tvime-window-tool.exe count CLASS        how many top-level windows of the class exist
//   tvime-window-tool.exe visible CLASS      1 when the first window of the class is visible
//   tvime-window-tool.exe foreground         the foreground window's handle and class
//   tvime-window-tool.exe rect CLASS         the screen rectangle of the first visible window of
//                                            the class: left top right bottom
//   tvime-window-tool.exe title CLASS        the caption of the first visible window of the
//                                            class (UTF-8)
//   tvime-window-tool.exe send CLASS MESSAGE WPARAM LPARAM
//                                            sends the message to it and prints the answer
//   tvime-window-tool.exe post CLASS MESSAGE WPARAM LPARAM
//                                            posts it (for commands that open a modal box)
//   tvime-window-tool.exe indicator SECONDS
//                                            plays the system's language indicator (a window of
//                                            class "Indicator") for a while and prints what an
//                                            input method tells it: "MESSAGE WPARAM LPARAM" in
//                                            hexadecimal, the tooltip atom as its text; a
//                                            WM_CLOSE ends it
// Prints "none" and exits with 1 when there is no such window.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct ClassCount {
  const wchar_t* className;
  int count = 0;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM data) {
  auto* counting = reinterpret_cast<ClassCount*>(data);
  wchar_t name[256];
  if (GetClassNameW(window, name, 256) && std::wcscmp(name, counting->className) == 0) {
    ++counting->count;
  }
  return TRUE;
}

LRESULT CALLBACK IndicatorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= 0x464 && message <= 0x466) {
    std::printf("%x %llx %llx", message, static_cast<unsigned long long>(wParam),
                static_cast<unsigned long long>(lParam) & 0xFFFFFFFF);
    wchar_t atomText[64] = {};
    if (message == 0x465 && wParam != static_cast<WPARAM>(-1) &&
        GlobalGetAtomNameW(static_cast<ATOM>(wParam), atomText, 64)) {
      char utf8[192] = {};
      WideCharToMultiByte(CP_UTF8, 0, atomText, -1, utf8, sizeof utf8, nullptr, nullptr);
      std::printf(" %s", utf8);
    }
    std::printf("\n");
    std::fflush(stdout);
    return 0;
  }
  if (message == WM_CLOSE) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

int PlayIndicator(int seconds) {
  WNDCLASSW indicatorClass{};
  indicatorClass.lpfnWndProc = IndicatorProc;
  indicatorClass.hInstance = GetModuleHandleW(nullptr);
  indicatorClass.lpszClassName = L"Indicator";
  RegisterClassW(&indicatorClass);
  if (!CreateWindowExW(0, L"Indicator", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                       indicatorClass.hInstance, nullptr)) {
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) break;
    DispatchMessageW(&message);
  }
  return 0;
}

HWND FirstVisible(const wchar_t* className) {
  HWND window = nullptr;
  while ((window = FindWindowExW(nullptr, window, className, nullptr)) &&
         !IsWindowVisible(window)) {
  }
  return window;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring command = argv[1];
  if (command == L"indicator" && argc >= 3) return PlayIndicator(_wtoi(argv[2]));
  if (command == L"foreground") {
    HWND foreground = GetForegroundWindow();
    wchar_t name[256] = L"";
    if (foreground) GetClassNameW(foreground, name, 256);
    std::printf("%lld %ls\n", reinterpret_cast<long long>(foreground), name);
    return 0;
  }
  if (argc < 3) return 2;
  if (command == L"count") {
    ClassCount counting{argv[2]};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&counting));
    std::printf("%d\n", counting.count);
    return 0;
  }
  // The title and the rectangle are those of the first visible window of the class.
  bool visibleOnly = command == L"title" || command == L"rect";
  HWND window = visibleOnly ? FirstVisible(argv[2]) : FindWindowW(argv[2], nullptr);
  RECT rect{};
  if (!window || (command == L"rect" && !GetWindowRect(window, &rect))) {
    std::printf("none\n");
    return 1;
  }
  if (command == L"title") {
    wchar_t title[256] = L"";
    char utf8[768] = "";
    GetWindowTextW(window, title, 256);
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%s\n", utf8);
    return 0;
  }
  if (command == L"rect") {
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
  }
  if (command == L"visible") {
    std::printf("%d\n", IsWindowVisible(window) ? 1 : 0);
    return 0;
  }
  if ((command == L"send" || command == L"post") && argc >= 6) {
    auto message = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 0));
    auto wParam = static_cast<WPARAM>(std::wcstoull(argv[4], nullptr, 0));
    auto lParam = static_cast<LPARAM>(std::wcstoll(argv[5], nullptr, 0));
    if (command == L"post") return PostMessageW(window, message, wParam, lParam) ? 0 : 1;
    std::printf("%lld\n", static_cast<long long>(SendMessageW(window, message, wParam, lParam)));
    return 0;
  }
  return 2;
}
