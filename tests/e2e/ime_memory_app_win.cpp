// An application that takes the input method through the phases whose memory counts: started
// (nothing loaded), tvime30.ime loaded, selected into a context (the dictionaries are read at
// the first selection) and some typing. At each phase it writes SYNC_DIR\NAME.PHASE and waits
// for SYNC_DIR\NAME.PHASE.go, so that scripts/ime-memory.sh can read the process's memory from
// Linux meanwhile. The "selected" file holds the time the selection took, in milliseconds.
//   tvime-ime-memory-app.exe SYNC_DIR NAME [MODULE_PATH]
// Needs a display for the input context.

#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>

#include "tests/support/ime_module_calls_win.h"

namespace {

double Milliseconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1e3 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class PhaseSync {
 public:
  PhaseSync(std::wstring folder, std::wstring name)
      : prefix_(std::move(folder) + L"\\" + std::move(name) + L".") {}

  // Announces `phase` with `content` and waits up to a minute to be told to go on.
  bool Reached(const wchar_t* phase, const std::string& content = "") const {
    std::wstring path = prefix_ + phase;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    std::wstring go = path + L".go";
    for (int waited = 0; waited < 60000; waited += 10) {
      if (GetFileAttributesW(go.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
      Sleep(10);
    }
    return false;
  }

 private:
  std::wstring prefix_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tvime-ime-memory-app.exe SYNC_DIR NAME [MODULE_PATH]\n");
    return 2;
  }
  PhaseSync sync(argv[1], argv[2]);
  // The system libraries an ordinary application with windows and common controls has loaded
  // before any input method: what the module adds is the module's own cost.
  for (const wchar_t* library : {L"advapi32.dll", L"gdi32.dll", L"comctl32.dll", L"ole32.dll",
                                 L"shell32.dll", L"shlwapi.dll"}) {
    LoadLibraryW(library);
  }
  tvime::testing::ApplicationContext application;
  if (!application.ok() || !sync.Reached(L"started")) return 1;

  HMODULE module =
      LoadLibraryW(tvime::testing::ImeModulePath(argc >= 4 ? argv[3] : nullptr).c_str());
  if (!module) return 1;
  tvime::testing::ImeModuleCalls ime(module);
  if (!ime.ok() || !sync.Reached(L"loaded")) return 1;

  double before = Milliseconds();
  ime.Start(application.context);
  char took[32];
  std::snprintf(took, sizeof took, "%.1f", Milliseconds() - before);
  if (!sync.Reached(L"selected", took)) return 1;

  // The strokes of 中 and Space for the first candidate, then its follow-on words, a few times.
  for (int round = 0; round < 20; ++round) {
    for (UINT key : {0x53u, 0x47u, 0x41u, 0x53u, static_cast<UINT>(VK_SPACE)}) {
      ime.Key(application.context, key, key == VK_SPACE ? ' ' : key - 'A' + 'a');
    }
  }
  if (!sync.Reached(L"typed")) return 1;
  ime.select(application.context, FALSE);
  return 0;
}
