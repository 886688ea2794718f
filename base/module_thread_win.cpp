#include "base/module_thread_win.h"

#include <windows.h>

#include <memory>

namespace tvime {
namespace {

struct ModuleThread {
  std::function<void()> work;
  HMODULE self = nullptr;
};

DWORD WINAPI RunModuleThread(void* parameter) {
  HMODULE self;
  {
    std::unique_ptr<ModuleThread> thread(static_cast<ModuleThread*>(parameter));
    self = thread->self;
    try {
      thread->work();
    } catch (...) {
    }
  }
  FreeLibraryAndExitThread(self, 0);
}

}  // namespace

bool StartModuleThread(std::function<void()> work) {
  auto thread = std::make_unique<ModuleThread>();
  thread->work = std::move(work);
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCSTR>(&RunModuleThread), &thread->self)) {
    return false;
  }
  HMODULE self = thread->self;
  HANDLE handle = CreateThread(nullptr, 0, RunModuleThread, thread.get(), 0, nullptr);
  if (!handle) {
    FreeLibrary(self);
    return false;
  }
  thread.release();  // the thread owns it now
  CloseHandle(handle);
  return true;
}

}  // namespace tvime
