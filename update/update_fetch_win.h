#pragma once
// The network half of the update agent: the requests, the manifest and the signed statement, and
// the download that stops at the signed size and hashes as it goes. It runs on a thread of the
// agent's own and shows no window. Everything it touches is held by its job, so that a job the
// agent has given up on (a server that trickles or stalls where WinINet has no timeout) ends
// safely on its own: whatever it downloaded it then deletes itself.

#include <windows.h>

#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "update/release_statement.h"
#include "update/signature.h"
#include "update/update_rules.h"

namespace tvime {

enum class UpdateResult : int;

// The WinINet session, shared by the agent and the jobs it runs.
class UpdateSession {
 public:
  UpdateSession();
  UpdateSession(const UpdateSession&) = delete;
  UpdateSession& operator=(const UpdateSession&) = delete;
  ~UpdateSession();
  HINTERNET handle() const { return internet_; }

 private:
  HINTERNET internet_ = nullptr;
};

// An update on offer: a newer version announced by the manifest and vouched for by a verified
// statement.
struct UpdateOffer {
  std::string fileUrl;
  std::string localName;
  ReleaseStatement statement;
  bool mandatory = false;
};

// One piece of network work, shared by the agent's waiting thread and the worker.
struct FetchJob {
  explicit FetchJob(std::shared_ptr<UpdateSession> session, const PublicKey& key);
  FetchJob(const FetchJob&) = delete;
  FetchJob& operator=(const FetchJob&) = delete;
  ~FetchJob();

  std::shared_ptr<UpdateSession> session;
  PublicKey key;
  std::atomic<bool> cancelled{false};  // set by the waiting side: stop at the next block
  std::atomic<bool> abandoned{false};  // the waiting side has gone: clean up after yourself
  std::atomic<std::uint64_t> received{0};
  std::atomic<std::uint64_t> expected{0};  // the body's size, when known
  HANDLE done = nullptr;                   // set when the work has ended
  // Written by the worker, read by the waiting side once `done` is set.
  UpdateRefusal refusal = UpdateRefusal::None;
  std::string leftFile;  // a file to delete when the job is abandoned after it ended
};

// The file name at the end of a path or an address.
std::string FileNameOf(const std::string& path);

// A sent request's handles, closed together.
class HttpRequest {
 public:
  HttpRequest() = default;
  HttpRequest(HINTERNET connection, HINTERNET request)
      : connection_(connection), request_(request) {}
  HttpRequest(HttpRequest&& other) noexcept;
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;
  ~HttpRequest();
  HINTERNET get() const { return request_; }
  explicit operator bool() const { return request_ != nullptr; }

 private:
  HINTERNET connection_ = nullptr;
  HINTERNET request_ = nullptr;
};

// The request for an address, sent with connect, send and receive timeouts, asking for no more
// than the first `limit` bytes when given; empty when it could not be sent.
HttpRequest OpenRequest(const UpdateSession& session, const std::string& url,
                        std::optional<std::uint64_t> limit = std::nullopt);

// The network half of a check: the manifest, and when it announces a newer version the
// statement. Updated means `offer` holds a verified newer version; Refused sets job.refusal.
UpdateResult FindOffer(FetchJob& job, const std::string& baseUrl, const std::string& localPath,
                       const std::string& manifestName, const std::string& remoteName,
                       UpdateOffer& offer);

// The statement published for the file at `fileUrl`, verified and naming `name`.
UpdateResult ReadStatement(FetchJob& job, const std::string& fileUrl, const std::string& name,
                           ReleaseStatement& statement);

// Downloads what the statement names into `path` and checks it: Updated when it is that file;
// DownloadFailed when cancelled; Refused (job.refusal) otherwise. `path` is gone unless Updated.
UpdateResult FetchVerified(FetchJob& job, const std::string& fileUrl,
                           const ReleaseStatement& statement, const std::string& path);

// Any body of at most `limit` bytes into `path`, as it comes (the news feed): false on any
// failure, a longer body included.
bool DownloadPlain(FetchJob& job, const std::string& url, const std::string& path,
                   std::uint64_t limit);

}  // namespace tvime
