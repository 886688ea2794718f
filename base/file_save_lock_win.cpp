#include "base/file_save_lock_win.h"

#include <windows.h>

#include <cstdint>

namespace tvime {
namespace {

constexpr DWORD kWaitMilliseconds = 10000;

class MutexLock : public FileSaveLock {
 public:
  explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
  ~MutexLock() override {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  HANDLE mutex_;
};

// 64-bit FNV-1a over the path folded to one spelling.
std::uint64_t PathHash(const std::string& path) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : path) {
    if (c == '/') c = '\\';
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
    hash = (hash ^ c) * 0x100000001b3ull;
  }
  return hash;
}

}  // namespace

std::wstring FileSaveMutexName(const std::string& path) {
  wchar_t name[64];
  std::uint64_t hash = PathHash(path);
  wsprintfW(name, L"TavrinIME3.Save.%08lX%08lX", static_cast<unsigned long>(hash >> 32),
            static_cast<unsigned long>(hash & 0xFFFFFFFF));
  return name;
}

std::unique_ptr<FileSaveLock> LockFileSaves(const std::string& path) {
  std::wstring name = FileSaveMutexName(path);
  // The user's sessions share the file (a profile is one per user), so the name is global; a
  // process that may not create global objects (a sandboxed application) uses its session's.
  HANDLE mutex = CreateMutexW(nullptr, FALSE, (L"Global\\" + name).c_str());
  if (!mutex) mutex = CreateMutexW(nullptr, FALSE, (L"Local\\" + name).c_str());
  if (!mutex) return nullptr;
  DWORD waited = WaitForSingleObject(mutex, kWaitMilliseconds);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return nullptr;
  }
  return std::make_unique<MutexLock>(mutex);
}

}  // namespace tvime
