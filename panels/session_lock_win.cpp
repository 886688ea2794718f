#include "panels/session_lock_win.h"

namespace tvime {
namespace {

// A critical section: taking it uncontended costs no call into the system (under Wine a mutex
// would be a round trip to its server on every key and every panel message). Made when the
// module is loaded, not at its first use: a guarded local static starts the C++ runtime's thread
// support, a few more round trips on the application's first selection.
struct SessionSectionHolder {
  SessionSectionHolder() { InitializeCriticalSection(&section); }
  ~SessionSectionHolder() { DeleteCriticalSection(&section); }
  CRITICAL_SECTION section;
} g_session;

CRITICAL_SECTION& SessionSection() { return g_session.section; }

// Set while this thread waits: a message it answers meanwhile that needs the session does not
// wait a second time inside the first wait, it goes on without.
thread_local bool t_waiting = false;

}  // namespace

SessionLock::SessionLock() {
  CRITICAL_SECTION& section = SessionSection();
  if (TryEnterCriticalSection(&section)) {
    held_ = true;
    return;
  }
  if (t_waiting) return;
  t_waiting = true;
  DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < kPatienceMs) {
    // Answers the messages sent to this thread's windows (the holder may be waiting for that);
    // nothing posted is taken.
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (TryEnterCriticalSection(&section)) {
      held_ = true;
      break;
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_SENDMESSAGE, 0);
  }
  t_waiting = false;
}

SessionLock::~SessionLock() {
  if (held_) LeaveCriticalSection(&SessionSection());
}

}  // namespace tvime
