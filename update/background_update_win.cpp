#include "update/background_update_win.h"

#include <mutex>
#include <thread>

#include "base/program_location_win.h"

namespace tvime {

// Shared by the program and the checking thread, which may outlive the program's object.
struct BackgroundUpdateCheck::State {
  UpdateAgent agent{true};  // interactive for the question; the thread itself asks nothing
  PreparedUpdate prepared;
  UpdateResult result = UpdateResult::NotConnected;
  std::mutex lock;
  bool finished = false;
  bool abandoned = false;
  HANDLE finishedEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ~State() {
    if (finishedEvent) CloseHandle(finishedEvent);
  }
};

BackgroundUpdateCheck::BackgroundUpdateCheck(std::string baseUrl, std::string localPath,
                                             std::string remoteName, HWND window, UINT message)
    : state_(std::make_shared<State>()) {
  if (localPath.empty()) localPath = OwnProgramPath();
  localName_ = localPath.substr(localPath.find_last_of('\\') + 1);
  thread_ = std::thread([state = state_, baseUrl, localPath, remoteName, window, message] {
    PreparedUpdate prepared;
    UpdateResult result = state->agent.PrepareUpdate(baseUrl, localPath, remoteName, prepared);
    std::lock_guard<std::mutex> hold(state->lock);
    state->prepared = prepared;
    state->result = result;
    state->finished = true;
    if (state->abandoned) {
      // The program has ended without it: nothing it downloaded stays behind.
      if (result == UpdateResult::Updated) DeleteFileA(prepared.tempPath.c_str());
    } else {
      PostMessageW(window, message, 0, 0);
    }
    SetEvent(state->finishedEvent);
  });
}

BackgroundUpdateCheck::~BackgroundUpdateCheck() {
  state_->agent.Cancel();
  WaitForSingleObject(state_->finishedEvent, kEndWaitMs);
  bool finished = false;
  {
    std::lock_guard<std::mutex> hold(state_->lock);
    finished = state_->finished;
    if (!finished) {
      state_->abandoned = true;
    } else if (state_->result == UpdateResult::Updated && !concluded_) {
      DeleteFileA(state_->prepared.tempPath.c_str());
    }
  }
  // A check that ended is joined, so that the agent's last handles close on this thread; one
  // still waiting on the network is left behind.
  if (finished) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

UpdateResult BackgroundUpdateCheck::Conclude() {
  {
    std::lock_guard<std::mutex> hold(state_->lock);
    if (!state_->finished || concluded_) return state_->result;
    concluded_ = true;
  }
  if (thread_.joinable()) thread_.join();  // it has ended: it only lets go of its state
  UpdateResult& result = state_->result;
  if (result == UpdateResult::Updated) {
    result = state_->agent.InstallPrepared(state_->prepared);
  } else if (result == UpdateResult::Refused) {
    state_->agent.TellRefusal(localName_);
  }
  return result;
}

}  // namespace tvime
