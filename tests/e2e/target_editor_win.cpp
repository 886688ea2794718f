// An application to type into: a window with a focused edit control, as a Unicode or an ANSI
// window. Everything that reaches the edit control is logged, and its text is written out after
// every character, so that a script can read what arrived and when.
//   tvime-target-editor.exe TEXT_FILE EVENT_LOG [--ansi] [--seconds N] [--layout HKL]
// --layout activates a keyboard layout (an installed input method) for the editor's thread.
// TEXT_FILE receives the edit text (UTF-8). EVENT_LOG lines, times in microseconds on the clock of
// the stand-alone program's trace:
//   ready <window>            the editor is up, in front, with the focus in the edit control
//   layout <hkl>              the keyboard layout active after --layout (0 when it failed)
//   char <time> <code>        WM_CHAR (UTF-16 unit) or WM_IME_CHAR (GBK value, lead byte high)
//   key <time> <vk>           WM_KEYDOWN or WM_IME_KEYDOWN
//   language <layout>         WM_INPUTLANGCHANGEREQUEST
//   foreground <window>       the foreground window changed (to another window, or back)
//   focus-lost                the edit control lost the keyboard focus

#include <windows.h>

#include <imm.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "gui/event_trace_win.h"

namespace {

std::wstring g_textPath;
FILE* g_events = nullptr;
HWND g_frame = nullptr;
HWND g_edit = nullptr;
bool g_ansi = false;
WNDPROC g_editProc = nullptr;
HWND g_lastForeground = nullptr;

void LogEvent(const char* format, long long a, long long b = 0) {
  if (!g_events) return;
  std::fprintf(g_events, format, a, b);
  std::fputc('\n', g_events);
  std::fflush(g_events);
}

// Rewrites the text file through a temporary file, so that a reader never sees half of it.
void WriteText() {
  // For an ANSI window the length is only an upper bound; the copy says how much there is.
  int capacity = GetWindowTextLengthW(g_edit) + 1;
  std::wstring text(static_cast<size_t>(capacity), L'\0');
  int length = GetWindowTextW(g_edit, text.data(), capacity);
  text.resize(static_cast<size_t>(length));
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(), bytes, nullptr, nullptr);
  std::wstring temporary = g_textPath + L".new";
  if (FILE* file = _wfopen(temporary.c_str(), L"wb")) {
    std::fwrite(utf8.data(), 1, utf8.size(), file);
    std::fclose(file);
    MoveFileExW(temporary.c_str(), g_textPath.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
}

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
      LogEvent("char %lld %lld", tvime::TraceClockMicroseconds(), static_cast<long long>(wParam));
      break;
    case WM_KEYDOWN:
    case WM_IME_KEYDOWN:
      LogEvent("key %lld %lld", tvime::TraceClockMicroseconds(), static_cast<long long>(wParam));
      break;
    case WM_INPUTLANGCHANGEREQUEST:
      LogEvent("language %llx", static_cast<long long>(lParam));
      break;
    case WM_KILLFOCUS:
      LogEvent("focus-lost", 0);
      break;
    default:
      break;
  }
  if (message == WM_IME_CHAR && g_ansi) {
    // Wine's ANSI edit control takes the two WM_CHAR bytes that DefWindowProc makes of a
    // double-byte WM_IME_CHAR one at a time and shows two "?" (Windows pairs them). The editor
    // inserts the character itself, as ANSI programs with their own input handling do.
    char bytes[2] = {static_cast<char>(wParam >> 8), static_cast<char>(wParam & 0xFF)};
    wchar_t text[3] = {};
    if (bytes[0]) {
      MultiByteToWideChar(CP_ACP, 0, bytes, 2, text, 2);
    } else {
      MultiByteToWideChar(CP_ACP, 0, bytes + 1, 1, text, 2);
    }
    SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    WriteText();
    return 0;
  }
  LRESULT result = g_ansi ? CallWindowProcA(g_editProc, window, message, wParam, lParam)
                          : CallWindowProcW(g_editProc, window, message, wParam, lParam);
  if (message == WM_CHAR || message == WM_IME_CHAR || message == WM_KEYDOWN ||
      message == WM_IME_KEYDOWN) {
    WriteText();
  }
  return result;
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (g_edit) MoveWindow(g_edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (g_edit) SetFocus(g_edit);
      return 0;
    case WM_TIMER: {
      // Watches that no other window (the panel above all) takes the foreground.
      HWND foreground = GetForegroundWindow();
      if (foreground != g_lastForeground) {
        LogEvent("foreground %lld", reinterpret_cast<long long>(foreground));
      }
      g_lastForeground = foreground;
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  g_textPath = argv[1];
  g_events = _wfopen(argv[2], L"wb");
  int seconds = 600;
  const wchar_t* layout = nullptr;
  for (int i = 3; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"--layout") == 0 && i + 1 < argc) layout = argv[++i];
    if (std::wcscmp(argv[i], L"--ansi") == 0) g_ansi = true;
    if (std::wcscmp(argv[i], L"--seconds") == 0 && i + 1 < argc) seconds = _wtoi(argv[++i]);
  }

  // The layout is chosen before the first window, so that the thread's input context belongs to
  // it.
  HKL active = layout ? LoadKeyboardLayoutW(layout, KLF_ACTIVATE) : nullptr;

  WNDCLASSW frameClass{};
  frameClass.lpfnWndProc = FrameProc;
  frameClass.hInstance = instance;
  frameClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  frameClass.lpszClassName = L"TvimeTargetEditor";
  RegisterClassW(&frameClass);
  const wchar_t* title = g_ansi ? L"记事 (ANSI)" : L"记事 (Unicode)";
  g_frame = CreateWindowExW(0, frameClass.lpszClassName, title, WS_OVERLAPPEDWINDOW, 20, 20, 480,
                            220, nullptr, nullptr, instance, nullptr);
  // The ANSI variant is an ANSI edit control, as in a program built without UNICODE.
  constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL;
  g_edit = g_ansi ? CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", kEditStyle, 0, 0, 0, 0, g_frame,
                                    nullptr, instance, nullptr)
                  : CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", kEditStyle, 0, 0, 0, 0, g_frame,
                                    nullptr, instance, nullptr);
  auto subclass = g_ansi ? SetWindowLongPtrA : SetWindowLongPtrW;
  g_editProc = reinterpret_cast<WNDPROC>(
      subclass(g_edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
  HFONT font = CreateFontW(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, GB2312_CHARSET, 0, 0, 0, 0, L"宋体");
  SendMessageW(g_edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  ShowWindow(g_frame, SW_SHOW);
  SetForegroundWindow(g_frame);
  SetFocus(g_edit);
  g_lastForeground = GetForegroundWindow();
  WriteText();
  if (layout) {
    // Switched on as a user does from the language bar.
    HIMC context = ImmGetContext(g_edit);
    ImmSetOpenStatus(context, TRUE);
    ImmReleaseContext(g_edit, context);
    LogEvent("layout %llx",
             static_cast<long long>(reinterpret_cast<UINT_PTR>(active) & 0xFFFFFFFF));
  }
  SetTimer(g_frame, 1, 50, nullptr);
  LogEvent("ready %lld", reinterpret_cast<long long>(g_frame));
  SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);

  // The ANSI variant runs the message loop of an ANSI program too.
  auto get = g_ansi ? GetMessageA : GetMessageW;
  auto dispatch = g_ansi ? DispatchMessageA : DispatchMessageW;
  MSG message;
  while (get(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER && message.hwnd == nullptr) break;
    TranslateMessage(&message);
    dispatch(&message);
  }
  if (g_events) std::fclose(g_events);
  return 0;
}
