#pragma once
// UpdateAgent: the one way the programs talk to the update server. It compares an installed
// file's version with the number published beside the file, fetches the signed statement of the
// newer file (update/release_statement.h), downloads at most the bytes it names while hashing
// them, checks the file against it and only then puts it in place. Synchronous: it runs on the
// caller's thread and keeps that thread's windows alive by pumping messages between blocks.
// Every request has connect, send and receive timeouts, and a check has a time budget: a server
// that stops answering, or answers a byte at a time, ends the check instead of holding it.

#include <windows.h>

#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "update/release_statement.h"
#include "update/signature.h"
#include "update/update_rules.h"

namespace tvime {

class UpdateSession;
struct FetchJob;
struct UpdateOffer;

// CheckAndUpdate's results; callers rely on the numbers.
enum class UpdateResult : int {
  Updated = 0,          // the new file is in place: restart the updated program
  NotConnected = 1,     // no WinINet, or no network connection
  OpenFailed = 2,       // the manifest's address could not be opened
  ManifestFailed = 3,   // the manifest did not answer 200, was empty or too large
  DownloadFailed = 4,   // the user cancelled an optional update's download
  NoLocalVersion = 5,   // the installed file has no usable version resource
  NoUpdate = 6,         // the published number is not newer, or either number is malformed
  Declined = 7,         // the user said no to an optional update, or the swap failed
  MustNotContinue = 8,  // the user refused or cancelled a mandatory update
  Refused = 9,          // a published update failed its checks or its download: lastRefusal()
                        // says why; the installed file stays and the program goes on
};

// Told about a download as it goes; isCancelled stops it at the next block.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void onStart() = 0;
  // total is 0 when the server sent no length.
  virtual void onProgress(std::int32_t received, std::int32_t total) = 0;
  virtual void onDone() = 0;
  virtual bool isCancelled() = 0;
};

// A verified newer file, downloaded into a temporary file and not yet in place.
struct PreparedUpdate {
  std::string localPath;  // the installed file it replaces
  std::string localName;  // its name, as the question names it
  std::string tempPath;   // the verified download
  std::string version;    // the signed version, "a.b.c.d"
  bool mandatory = false;
};

class UpdateAgent {
 public:
  // The time a check may take to learn whether there is an update (manifest and statement), and
  // after which a download must have kept up at least kSlowestRate. The agent waits for no
  // request longer than that: one that overruns is left to end on its own thread.
  static constexpr DWORD kCheckBudgetMs = 15000;
  static constexpr std::uint64_t kSlowestRate = 32 * 1024;  // bytes a second
  static constexpr DWORD kRequestTimeoutMs = 5000;          // connect, send, receive

  // An interactive agent asks before it updates, shows the download dialog (IDD_DOWNLOAD of
  // `resources`, the program by default) and says why it refused an update.
  explicit UpdateAgent(bool interactive, const PublicKey& trustedKey = TrustedUpdateKey(),
                       HINSTANCE resources = nullptr);
  UpdateAgent(const UpdateAgent&) = delete;
  UpdateAgent& operator=(const UpdateAgent&) = delete;
  ~UpdateAgent();

  bool IsOnline() const;
  // Brings `localPath` up to the version published under `baseUrl` (which ends in "updates/"):
  // asks (interactive), downloads with the dialog (interactive, without a sink), checks and
  // swaps. The manifest and remote names may be empty (then derived from the remote or local
  // name).
  UpdateResult CheckAndUpdate(const std::string& baseUrl, ProgressSink* sink,
                              const std::string& localPath, const std::string& manifestName,
                              const std::string& remoteName);
  // The same for the running program's own file.
  UpdateResult CheckAndUpdateSelf(const std::string& baseUrl, ProgressSink* sink,
                                  const std::string& manifestName, const std::string& remoteName);

  // The network half of a check, for a thread of its own: no question and no window. Updated
  // means that `prepared` holds a verified newer file; any other result leaves nothing behind.
  UpdateResult PrepareUpdate(const std::string& baseUrl, const std::string& localPath,
                             const std::string& remoteName, PreparedUpdate& prepared);
  // The other half, on a thread with windows: asks (interactive) and puts the file in place.
  // The temporary file is gone afterwards whatever the answer.
  UpdateResult InstallPrepared(const PreparedUpdate& prepared);

  // Fetches one address into one file: 0 done, 1 not online, 2 failed (a body over `limit`
  // bytes included: it is not read on).
  int DownloadToFile(const std::string& url, const std::string& path, bool showDialog,
                     std::uint64_t limit = kMaxUpdateFileSize);
  // The same for a program published with its statement ("<url>.meta"): the file is put in
  // place only when it is the program the statement names, byte for byte; else 2, and whatever
  // was at `path` stays.
  int DownloadSignedToFile(const std::string& url, const std::string& path, bool showDialog);

  // Why the last check or download refused an update (None when it did not).
  UpdateRefusal lastRefusal() const { return refusal_; }
  // Tells an interactive user in one line why the update of `name` was refused.
  void TellRefusal(const std::string& name) const;
  // From any thread: the running check ends at its next block, as if cancelled, and so does
  // every later one of this agent.
  void Cancel();

 private:
  std::shared_ptr<FetchJob> NewJob();
  // The manifest and the statement, on a worker: Updated when a newer signed version is offered.
  UpdateResult Offer(const std::string& baseUrl, const std::string& localPath,
                     const std::string& manifestName, const std::string& remoteName,
                     UpdateOffer& offer);
  // The offered file into `path`, on a worker, checked against its statement.
  UpdateResult Fetch(const UpdateOffer& offer, const std::string& path, ProgressSink* sink);
  bool Ask(const std::string& question) const;

  std::shared_ptr<UpdateSession> session_;
  bool interactive_;
  PublicKey key_;
  HINSTANCE resources_;
  UpdateRefusal refusal_ = UpdateRefusal::None;
  std::atomic<bool> cancelled_{false};
  std::mutex jobLock_;
  std::weak_ptr<FetchJob> job_;  // the job running now, for Cancel()
};

}  // namespace tvime
