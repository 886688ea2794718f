#pragma once
// The one session of a process serves every GUI thread of the application, one thread at a time.
// A thread waiting for its turn goes on answering the messages that other threads send to its
// windows (the thread holding the session may be waiting for exactly that answer), and gives up
// after a while rather than hang its application: its key or click then goes on as if there were
// no input method. Recursive: a thread holding it may take it again.

#include <windows.h>

namespace tvime {

class SessionLock {
 public:
  SessionLock();
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;
  ~SessionLock();
  // Whether this thread has the session.
  explicit operator bool() const { return held_; }

  static constexpr DWORD kPatienceMs = 500;

 private:
  bool held_ = false;
};

}  // namespace tvime
