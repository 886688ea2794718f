// What the input method costs an application: loading tvime30.ime, its start when the manager
// selects it into a context, and each key through ImeProcessKey and ImeToAsciiEx (stroke keys
// and Backspace, the keys a user types most). Needs a display for the input context.
//   tvime-ime-key-cost.exe [MODULE_PATH]      (default: tvime30.ime beside the program)
// Prints one line of figures in microseconds.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "base/exported_function_win.h"
#include "base/imm_ime_win.h"

namespace {

double Microseconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1e6 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct TranslationList {
  UINT uMsgCount = 16;
  TRANSMSG TransMsg[16] = {};
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring path;
  if (argc >= 2) {
    path = argv[1];
  } else {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    path = self;
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"tvime30.ime";
  }
  HWND window = CreateWindowExW(0, L"STATIC", L"application", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, nullptr, nullptr);
  HIMC context = ImmCreateContext();
  if (!window || !context) return 1;
  ImmAssociateContext(window, context);

  double start = Microseconds();
  HMODULE module = LoadLibraryW(path.c_str());
  double loaded = Microseconds();
  if (!module) return 1;
  auto inquire =
      tvime::ExportedFunction<BOOL(WINAPI*)(IMEINFO*, LPSTR, DWORD)>(module, "ImeInquire");
  auto select = tvime::ExportedFunction<BOOL(WINAPI*)(HIMC, BOOL)>(module, "ImeSelect");
  auto processKey = tvime::ExportedFunction<BOOL(WINAPI*)(HIMC, UINT, LPARAM, const BYTE*)>(
      module, "ImeProcessKey");
  auto toAsciiEx =
      tvime::ExportedFunction<UINT(WINAPI*)(UINT, UINT, const BYTE*, TRANSMSGLIST*, UINT, HIMC)>(
          module, "ImeToAsciiEx");
  if (!inquire || !select || !processKey || !toAsciiEx) return 1;
  IMEINFO info{};
  char uiClass[64] = {};
  double selecting = Microseconds();
  inquire(&info, uiClass, 0);
  select(context, TRUE);
  double selected = Microseconds();

  // The strokes of 中 typed and taken back, over and over.
  BYTE keyState[256] = {};
  TranslationList list;
  double total = 0, worst = 0;
  int keys = 0;
  for (int round = 0; round < 200; ++round) {
    for (UINT key : {0x53u, 0x47u, 0x41u, 0x53u, 0x08u, 0x08u, 0x08u, 0x08u}) {
      UINT character = key == VK_BACK ? 8 : key - 'A' + 'a';
      double before = Microseconds();
      if (processKey(context, key, 1, keyState)) {
        toAsciiEx((character << 8) | key, 0, keyState, reinterpret_cast<TRANSMSGLIST*>(&list), 0,
                  context);
      }
      double took = Microseconds() - before;
      total += took;
      worst = std::max(worst, took);
      ++keys;
    }
  }
  std::printf(
      "module key cost (us): load %.0f, start at selection %.0f, key mean %.1f, worst %.0f"
      " over %d keys\n",
      loaded - start, selected - selecting, total / keys, worst, keys);
  ImmAssociateContext(window, nullptr);
  ImmDestroyContext(context);
  return 0;
}
