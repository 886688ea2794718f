#include "base/program_start_win.h"

#include "base/program_location_win.h"

namespace tvime {

SingleInstance::SingleInstance(const wchar_t* name) {
  mutex_ = CreateMutexW(nullptr, FALSE, name);
  first_ = mutex_ && GetLastError() != ERROR_ALREADY_EXISTS;
}

SingleInstance::~SingleInstance() { release(); }

void SingleInstance::release() {
  if (mutex_) CloseHandle(mutex_);
  mutex_ = nullptr;
}

void RestartAfterUpdate(SingleInstance& instance, int show) {
  instance.release();
  StartOwnProgramAgain(show);
}

}  // namespace tvime
