#pragma once
// UpdateAgent: the one way the programs talk to the update server. It compares an installed
// file's version with the number published beside the file, downloads the newer file, checks its
// signature and puts it in place. Synchronous: it runs on the caller's thread and keeps that
// thread's windows alive by pumping messages between blocks.

#include <windows.h>

#include <wininet.h>

#include <optional>

#include <cstdint>
#include <functional>
#include <string>

#include "update/signature.h"

namespace tvime {

// checkAndUpdate's results; callers rely on the numbers.
enum class UpdateResult : int {
  Updated = 0,          // the new file is in place: restart the updated program
  NotConnected = 1,     // no WinINet, or no network connection
  OpenFailed = 2,       // the manifest's or the file's address could not be opened
  ManifestFailed = 3,   // the manifest did not answer 200 or was empty
  DownloadFailed = 4,   // an optional update's download (or its signature) failed or was cancelled
  NoLocalVersion = 5,   // the installed file has no usable version resource
  NoUpdate = 6,         // the published number is not newer, or either number is malformed
  Declined = 7,         // the user said no to an optional update, or the swap failed
  MustNotContinue = 8,  // a mandatory update was refused or failed
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

class UpdateAgent {
 public:
  // An interactive agent asks before it updates and shows the download dialog (resource 151 of
  // `resources`, the program by default).
  explicit UpdateAgent(bool interactive, const PublicKey& trustedKey = TrustedUpdateKey(),
                       HINSTANCE resources = nullptr);
  UpdateAgent(const UpdateAgent&) = delete;
  UpdateAgent& operator=(const UpdateAgent&) = delete;
  ~UpdateAgent();

  bool isOnline() const;
  // Brings `localPath` up to the version published under `baseUrl` (which ends in "updates/").
  // The manifest and remote names may be empty (then derived from the remote or local name).
  UpdateResult checkAndUpdate(const std::string& baseUrl, ProgressSink* sink,
                              const std::string& localPath, const std::string& manifestName,
                              const std::string& remoteName);
  // The same for the running program's own file.
  UpdateResult checkAndUpdateSelf(const std::string& baseUrl, ProgressSink* sink,
                                  const std::string& manifestName, const std::string& remoteName);
  // Fetches one address into one file: 0 done, 1 not online, 2 failed.
  int downloadToFile(const std::string& url, const std::string& path, bool showDialog);
  // The same for a program: the file is put in place only when its published signature
  // ("<url>.sig") verifies; else 2, and whatever was at `path` stays.
  int downloadSignedToFile(const std::string& url, const std::string& path, bool showDialog);

 private:
  // The request for an address, or nullptr.
  HINTERNET Open(const std::string& url) const;
  // The response body into a file; false on any failure (a short body included).
  bool Download(HINTERNET request, const std::string& path, ProgressSink* sink) const;
  // A small response (a manifest, a signature), at most `limit` bytes; false unless 200.
  // Opens `url` and hands the request to `save`, with the download dialog shown or not: 0 when
  // it saved, 1 not online, 2 failed.
  int Fetch(const std::string& url, bool showDialog,
            const std::function<bool(HINTERNET, ProgressSink*)>& save);
  // Download, then the signature at `url` + ".sig" checked against the file.
  bool DownloadSigned(HINTERNET request, const std::string& url, const std::string& path,
                      ProgressSink* sink) const;
  bool ReadSmall(const std::string& url, size_t limit, std::string& body) const;
  bool Ask(const std::string& question) const;

  HINTERNET internet_ = nullptr;
  bool interactive_;
  PublicKey key_;
  HINSTANCE resources_;
};

}  // namespace tvime
