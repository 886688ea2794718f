#include "update/update_agent_win.h"

#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "base/product_title.h"
#include "base/program_location_win.h"
#include "base/wide_text_win.h"
#include "update/download_progress_dialog_win.h"
#include "update/file_swap_win.h"
#include "update/update_fetch_win.h"

namespace tvime {
namespace {

constexpr char kTitle[] = TVIME_PRODUCT_NAME;
// How long a cancelled job may take to notice before it is left to end on its own.
constexpr DWORD kCancelWaitMs = 1000;

// Keeps the caller's windows alive while the work goes on.
void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// A temporary file in the system's temporary folder, named after `name`; empty on failure.
std::string TemporaryFile(const std::string& name) {
  char folder[MAX_PATH] = {};
  char temp[MAX_PATH] = {};
  if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, name.c_str(), 0, temp)) {
    return {};
  }
  return temp;
}

std::string Question(const std::string& name, const std::string& version, bool mandatory) {
  return mandatory
             ? "文件 " + name + " 有一个必须更新版本 " + version +
                   " 需要更新，否则不能继续使用软件。\n您是否现在更新？"
             : "文件 " + name + " 有一个更新版本 " + version + " 可以更新，您是否需要现在更新？";
}

enum class Waited { Done, OutOfTime, Cancelled };

// The rule a job's time is held to: learning whether there is an update must fit the budget; a
// download must, after the budget, have kept up the slowest rate a real link has.
enum class Pace { Metadata, Download };

// Runs `work` on a thread of its own and waits for it, keeping this thread's windows alive and
// telling `sink` how far it is. A job that breaks its pace, or that the user cancelled and that
// does not stop within a second, is left to end on its own: WinINet has calls that no timeout
// reaches (a server that sends its headers a byte a second), and the caller must not wait on
// them.
Waited RunJob(const std::shared_ptr<FetchJob>& job, std::function<void(FetchJob&)> work, Pace pace,
              ProgressSink* sink) {
  std::thread worker([job, work = std::move(work)] {
    work(*job);
    SetEvent(job->done);
    // After `done`, so that either this thread or the waiting one sees the other has gone.
    if (job->abandoned && !job->leftFile.empty()) DeleteFileA(job->leftFile.c_str());
  });

  ULONGLONG started = GetTickCount64();
  std::uint64_t told = 0;
  bool userCancelled = false;
  for (;;) {
    DWORD waited = MsgWaitForMultipleObjects(1, &job->done, FALSE, 50, QS_ALLINPUT);
    if (waited == WAIT_OBJECT_0) {
      // Joined, not left to end by itself: no thread of ours may still be inside WinINet (closing
      // its handles) when the program ends, whose unloading of WinINet would then wait for a
      // lock that thread held. Only a worker given up on is left behind.
      worker.join();
      return userCancelled ? Waited::Cancelled : Waited::Done;
    }
    PumpMessages();
    std::uint64_t received = job->received;
    ULONGLONG elapsed = GetTickCount64() - started;
    // Once the user has cancelled, the dialog hears nothing more of the download it gave up.
    if (sink && !userCancelled && received != told) {
      told = received;
      sink->onProgress(static_cast<std::int32_t>(received),
                       static_cast<std::int32_t>(job->expected.load()));
    }
    if (sink && !userCancelled && sink->isCancelled()) {
      userCancelled = true;
      job->cancelled = true;
      started = GetTickCount64();
    }
    bool late = userCancelled ? elapsed > kCancelWaitMs
                : pace == Pace::Metadata
                    ? elapsed > UpdateAgent::kCheckBudgetMs
                    : elapsed > UpdateAgent::kCheckBudgetMs &&
                          received < elapsed * UpdateAgent::kSlowestRate / 1000;
    if (late) {
      job->cancelled = true;
      job->abandoned = true;
      if (WaitForSingleObject(job->done, 0) == WAIT_OBJECT_0 && !job->leftFile.empty()) {
        DeleteFileA(job->leftFile.c_str());
      }
      worker.detach();
      return userCancelled ? Waited::Cancelled : Waited::OutOfTime;
    }
  }
}

}  // namespace

UpdateAgent::UpdateAgent(bool interactive, const PublicKey& trustedKey, HINSTANCE resources)
    : session_(std::make_shared<UpdateSession>()),
      interactive_(interactive),
      key_(trustedKey),
      resources_(resources ? resources : GetModuleHandleW(nullptr)) {}

UpdateAgent::~UpdateAgent() = default;

bool UpdateAgent::IsOnline() const {
  DWORD flags = 0;
  return session_->handle() && InternetGetConnectedState(&flags, 0);
}

void UpdateAgent::Cancel() {
  cancelled_ = true;
  std::lock_guard<std::mutex> hold(jobLock_);
  if (auto job = job_.lock()) job->cancelled = true;
}

std::shared_ptr<FetchJob> UpdateAgent::NewJob() {
  auto job = std::make_shared<FetchJob>(session_, key_);
  std::lock_guard<std::mutex> hold(jobLock_);
  job->cancelled = cancelled_.load();
  job_ = job;
  return job;
}

void UpdateAgent::TellRefusal(const std::string& name) const {
  if (!interactive_ || refusal_ == UpdateRefusal::None) return;
  MessageBoxW(nullptr, WideFromUtf8(RefusalText(name, refusal_)).c_str(),
              WideFromUtf8(kTitle).c_str(), MB_OK | MB_ICONWARNING);
}

bool UpdateAgent::Ask(const std::string& question) const {
  return MessageBoxW(nullptr, WideFromUtf8(question).c_str(), WideFromUtf8(kTitle).c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

UpdateResult UpdateAgent::Offer(const std::string& baseUrl, const std::string& localPath,
                                const std::string& manifestName, const std::string& remoteName,
                                UpdateOffer& offer) {
  refusal_ = UpdateRefusal::None;
  auto job = NewJob();
  // Shared with the worker: a worker left behind may still write them after this returns.
  auto result = std::make_shared<UpdateResult>(UpdateResult::NotConnected);
  auto found = std::make_shared<UpdateOffer>();
  if (RunJob(
          job,
          [result, found, baseUrl, localPath, manifestName, remoteName](FetchJob& work) {
            *result = FindOffer(work, baseUrl, localPath, manifestName, remoteName, *found);
          },
          Pace::Metadata, nullptr) != Waited::Done) {
    refusal_ = UpdateRefusal::NoAnswer;
    return UpdateResult::Refused;
  }
  refusal_ = job->refusal;
  offer = *found;
  return *result;
}

UpdateResult UpdateAgent::Fetch(const UpdateOffer& offer, const std::string& path,
                                ProgressSink* sink) {
  auto job = NewJob();
  auto result = std::make_shared<UpdateResult>(UpdateResult::Refused);
  if (sink) {
    sink->onStart();
    PumpMessages();
  }
  Waited waited = RunJob(
      job,
      [result, fileUrl = offer.fileUrl, statement = offer.statement, path](FetchJob& work) {
        *result = FetchVerified(work, fileUrl, statement, path);
      },
      Pace::Download, sink);
  if (waited == Waited::Cancelled) {
    return offer.mandatory ? UpdateResult::MustNotContinue : UpdateResult::DownloadFailed;
  }
  if (waited == Waited::OutOfTime) {
    refusal_ = UpdateRefusal::NoAnswer;
    return UpdateResult::Refused;
  }
  refusal_ = job->refusal;
  if (*result == UpdateResult::DownloadFailed) {
    return offer.mandatory ? UpdateResult::MustNotContinue : UpdateResult::DownloadFailed;
  }
  if (*result == UpdateResult::Updated && sink) {
    sink->onDone();
    PumpMessages();
  }
  return *result;
}

UpdateResult UpdateAgent::CheckAndUpdate(const std::string& baseUrl, ProgressSink* sink,
                                         const std::string& localPath,
                                         const std::string& manifestName,
                                         const std::string& remoteName) {
  UpdateOffer offer;
  UpdateResult found = Offer(baseUrl, localPath, manifestName, remoteName, offer);
  if (found != UpdateResult::Updated) {
    if (found == UpdateResult::Refused) TellRefusal(FileNameOf(localPath));
    return found;
  }
  if (interactive_ &&
      !Ask(Question(offer.localName, FourPartVersion(offer.statement.version), offer.mandatory))) {
    return offer.mandatory ? UpdateResult::MustNotContinue : UpdateResult::Declined;
  }
  std::unique_ptr<DownloadProgressDialog> dialog;
  if (!sink && interactive_) {
    dialog = std::make_unique<DownloadProgressDialog>(resources_);
    dialog->Show();
    sink = dialog.get();
  }
  std::string temp = TemporaryFile(offer.localName);
  if (temp.empty()) {
    refusal_ = UpdateRefusal::Damaged;
    return UpdateResult::Refused;
  }
  UpdateResult fetched = Fetch(offer, temp, sink);
  dialog.reset();
  if (fetched != UpdateResult::Updated) {
    if (fetched == UpdateResult::Refused) TellRefusal(offer.localName);
    return fetched;
  }
  if (!replaceFile(localPath, temp)) {
    DeleteFileA(temp.c_str());
    return UpdateResult::Declined;
  }
  return UpdateResult::Updated;
}

UpdateResult UpdateAgent::CheckAndUpdateSelf(const std::string& baseUrl, ProgressSink* sink,
                                             const std::string& manifestName,
                                             const std::string& remoteName) {
  return CheckAndUpdate(baseUrl, sink, OwnProgramPath(), manifestName, remoteName);
}

UpdateResult UpdateAgent::PrepareUpdate(const std::string& baseUrl, const std::string& localPath,
                                        const std::string& remoteName, PreparedUpdate& prepared) {
  UpdateOffer offer;
  UpdateResult found = Offer(baseUrl, localPath, "", remoteName, offer);
  if (found != UpdateResult::Updated) return found;
  std::string temp = TemporaryFile(offer.localName);
  if (temp.empty()) {
    refusal_ = UpdateRefusal::Damaged;
    return UpdateResult::Refused;
  }
  UpdateResult fetched = Fetch(offer, temp, nullptr);
  // Cancelled (the program is ending): nothing is kept and nothing is asked.
  if (fetched == UpdateResult::MustNotContinue || fetched == UpdateResult::DownloadFailed) {
    return UpdateResult::DownloadFailed;
  }
  if (fetched != UpdateResult::Updated) return fetched;
  prepared = {localPath, offer.localName, temp, FourPartVersion(offer.statement.version),
              offer.mandatory};
  return UpdateResult::Updated;
}

UpdateResult UpdateAgent::InstallPrepared(const PreparedUpdate& prepared) {
  UpdateResult result = UpdateResult::Updated;
  if (interactive_ && !Ask(Question(prepared.localName, prepared.version, prepared.mandatory))) {
    result = prepared.mandatory ? UpdateResult::MustNotContinue : UpdateResult::Declined;
  }
  if (result == UpdateResult::Updated && !replaceFile(prepared.localPath, prepared.tempPath)) {
    result = UpdateResult::Declined;
  }
  DeleteFileA(prepared.tempPath.c_str());
  return result;
}

int UpdateAgent::DownloadToFile(const std::string& url, const std::string& path, bool showDialog,
                                std::uint64_t limit) {
  refusal_ = UpdateRefusal::None;
  if (!IsOnline()) return 1;
  std::optional<DownloadProgressDialog> dialog;
  if (showDialog) {
    dialog.emplace(resources_);
    dialog->Show();
    dialog->onStart();
  }
  auto job = NewJob();
  auto ok = std::make_shared<bool>(false);
  Waited waited = RunJob(
      job, [ok, url, path, limit](FetchJob& work) { *ok = DownloadPlain(work, url, path, limit); },
      Pace::Download, dialog ? &*dialog : nullptr);
  return waited == Waited::Done && *ok ? 0 : 2;
}

int UpdateAgent::DownloadSignedToFile(const std::string& url, const std::string& path,
                                      bool showDialog) {
  refusal_ = UpdateRefusal::None;
  if (!IsOnline()) return 1;
  UpdateOffer offer;
  offer.fileUrl = url;
  {
    auto job = NewJob();
    auto statement = std::make_shared<ReleaseStatement>();
    auto read = std::make_shared<UpdateResult>(UpdateResult::Refused);
    if (RunJob(
            job,
            [statement, read, url, name = FileNameOf(path)](FetchJob& work) {
              *read = ReadStatement(work, url, name, *statement);
            },
            Pace::Metadata, nullptr) != Waited::Done ||
        *read != UpdateResult::Updated) {
      refusal_ = job->refusal;
      return 2;
    }
    offer.statement = *statement;
  }
  std::optional<DownloadProgressDialog> dialog;
  if (showDialog) {
    dialog.emplace(resources_);
    dialog->Show();
  }
  // Beside the target, so that the verified file is moved into place, not copied.
  std::string temp = path + ".download";
  if (Fetch(offer, temp, dialog ? &*dialog : nullptr) == UpdateResult::Updated &&
      MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    return 0;
  }
  DeleteFileA(temp.c_str());
  return 2;
}

}  // namespace tvime
