#include "panels/session_lock_win.h"

namespace tvime {
namespace {

HANDLE SessionMutex() {
  static HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
  return mutex;
}

// Set while this thread waits: a message it answers meanwhile that needs the session does not
// wait a second time inside the first wait, it goes on without.
thread_local bool t_waiting = false;

}  // namespace

SessionLock::SessionLock() {
  HANDLE mutex = SessionMutex();
  if (!mutex) return;
  DWORD first = WaitForSingleObject(mutex, 0);
  if (first == WAIT_OBJECT_0 || first == WAIT_ABANDONED) {
    held_ = true;
    return;
  }
  if (t_waiting) return;
  t_waiting = true;
  DWORD start = GetTickCount();
  MSG message;
  for (;;) {
    // Answers the messages sent to this thread's windows (those already waiting too); nothing
    // posted is taken.
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= kPatienceMs) break;
    DWORD woken = MsgWaitForMultipleObjectsEx(1, &mutex, kPatienceMs - elapsed, QS_SENDMESSAGE, 0);
    if (woken == WAIT_OBJECT_0 || woken == WAIT_ABANDONED_0) {
      held_ = true;
      break;
    }
    if (woken != WAIT_OBJECT_0 + 1) break;  // timed out or failed
  }
  t_waiting = false;
}

SessionLock::~SessionLock() {
  if (held_) ReleaseMutex(SessionMutex());
}

}  // namespace tvime
