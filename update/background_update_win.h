#pragma once
// A program's start-up update check that never holds up its windows: the network half runs on
// a thread of its own, and the program is told by a message to a window of its own when the
// check has ended. Only then, and only when a newer file has been downloaded and verified, is
// the user asked (on the window's thread).

#include <windows.h>

#include <memory>
#include <string>
#include <thread>

#include "update/update_agent_win.h"

namespace tvime {

class BackgroundUpdateCheck {
 public:
  // How long the program's end waits for a check still running before it leaves it behind.
  static constexpr DWORD kEndWaitMs = 2000;

  // Starts checking `localPath` (the running program when empty) against `baseUrl` at once;
  // `window` gets `message` when the check has ended.
  BackgroundUpdateCheck(std::string baseUrl, std::string localPath, std::string remoteName,
                        HWND window, UINT message);
  BackgroundUpdateCheck(const BackgroundUpdateCheck&) = delete;
  BackgroundUpdateCheck& operator=(const BackgroundUpdateCheck&) = delete;
  // Cancels a check still running and waits for it at most kEndWaitMs; a check left behind
  // cleans up after itself.
  ~BackgroundUpdateCheck();

  // After the message, on the window's thread: asks about a verified update and puts it in
  // place (Updated), says why one was refused (Refused), or gives the check's result.
  UpdateResult Conclude();

 private:
  struct State;
  std::shared_ptr<State> state_;
  std::thread thread_;
  std::string localName_;
  bool concluded_ = false;
};

}  // namespace tvime
