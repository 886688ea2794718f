#pragma once
// Test helper: a function run on a thread of its own, a Windows thread that can own windows and
// answer sent messages. Joined (waited for) at the latest when destroyed.

#include <windows.h>

#include <functional>

namespace tvime::testing {

class WinThread {
 public:
  explicit WinThread(std::function<void()> body) : body_(std::move(body)) {
    handle_ = CreateThread(nullptr, 0, &WinThread::Run, this, 0, nullptr);
  }
  WinThread(const WinThread&) = delete;
  WinThread& operator=(const WinThread&) = delete;
  ~WinThread() {
    if (!handle_) return;
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
  }

  HANDLE handle() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // True when the thread ended within `milliseconds`.
  bool Join(DWORD milliseconds) const {
    return handle_ && WaitForSingleObject(handle_, milliseconds) == WAIT_OBJECT_0;
  }

 private:
  static DWORD WINAPI Run(void* self) {
    static_cast<WinThread*>(self)->body_();
    return 0;
  }

  std::function<void()> body_;
  HANDLE handle_ = nullptr;
};

}  // namespace tvime::testing
