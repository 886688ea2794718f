// What the input method costs an application: loading tvime30.ime, its start when the manager
// selects it into a context, and each key through ImeProcessKey and ImeToAsciiEx (stroke keys
// and Backspace, the keys a user types most). Needs a display for the input context.
//   tvime-ime-key-cost.exe [MODULE_PATH]      (default: tvime30.ime beside the program)
// Prints one line of figures in microseconds.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>

#include "tests/support/ime_module_calls_win.h"

namespace {

double Microseconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1e6 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  tvime::testing::ApplicationContext application;
  if (!application.ok()) return 1;
  double start = Microseconds();
  HMODULE module =
      LoadLibraryW(tvime::testing::ImeModulePath(argc >= 2 ? argv[1] : nullptr).c_str());
  double loaded = Microseconds();
  if (!module) return 1;
  tvime::testing::ImeModuleCalls ime(module);
  if (!ime.ok()) return 1;
  double selecting = Microseconds();
  ime.Start(application.context);
  double selected = Microseconds();

  // The strokes of 中 typed and taken back, over and over.
  double total = 0, worst = 0;
  int keys = 0;
  for (int round = 0; round < 200; ++round) {
    for (UINT key : {0x53u, 0x47u, 0x41u, 0x53u, 0x08u, 0x08u, 0x08u, 0x08u}) {
      UINT character = key == VK_BACK ? 8 : key - 'A' + 'a';
      double before = Microseconds();
      ime.Key(application.context, key, character);
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
  return 0;
}
