// Asks questions of another program's windows from a script:
//   tvime-window-tool.exe count CLASS        how many top-level windows of the class exist
//   tvime-window-tool.exe visible CLASS      1 when the first window of the class is visible
//   tvime-window-tool.exe foreground         the foreground window's handle and class
//   tvime-window-tool.exe rect CLASS         the screen rectangle of the first visible window of
//                                            the class: left top right bottom
//   tvime-window-tool.exe send CLASS MESSAGE WPARAM LPARAM
//                                            sends the message to it and prints the answer
//   tvime-window-tool.exe post CLASS MESSAGE WPARAM LPARAM
//                                            posts it (for commands that open a modal box)
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring command = argv[1];
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
  if (command == L"rect") {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, argv[2], nullptr)) &&
           !IsWindowVisible(window)) {
    }
    RECT rect;
    if (!window || !GetWindowRect(window, &rect)) {
      std::printf("none\n");
      return 1;
    }
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
  }
  HWND window = FindWindowW(argv[2], nullptr);
  if (!window) {
    std::printf("none\n");
    return 1;
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
