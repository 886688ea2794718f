#include "update/update_agent_win.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "base/file_io.h"
#include "base/program_location_win.h"
#include "base/wide_text_win.h"
#include "update/download_progress_dialog_win.h"
#include "update/file_swap_win.h"
#include "update/update_rules.h"

namespace tvime {
namespace {

constexpr size_t kBlockSize = 4096;
constexpr char kTitle[] = "沃岚鼠标输入法";

// Keeps the caller's windows alive between blocks.
void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

class Request {
 public:
  explicit Request(HINTERNET handle) : handle_(handle) {}
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;
  ~Request() {
    if (handle_) InternetCloseHandle(handle_);
  }
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// A numeric header of the response (the status, the length); nullopt when absent.
std::optional<long> NumberHeader(HINTERNET request, DWORD query) {
  char text[80] = {};
  DWORD size = sizeof text - 1;
  if (!HttpQueryInfoA(request, query, text, &size, nullptr)) return std::nullopt;
  char* end = nullptr;
  long value = std::strtol(text, &end, 10);
  if (end == text) return std::nullopt;
  return value;
}

}  // namespace

UpdateAgent::UpdateAgent(bool interactive, const PublicKey& trustedKey, HINSTANCE resources)
    : interactive_(interactive),
      key_(trustedKey),
      resources_(resources ? resources : GetModuleHandleW(nullptr)) {
  internet_ =
      InternetOpenA("TavrinAutoUpdateAgent", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

UpdateAgent::~UpdateAgent() {
  if (internet_) InternetCloseHandle(internet_);
}

bool UpdateAgent::isOnline() const {
  DWORD flags = 0;
  return internet_ && InternetGetConnectedState(&flags, 0);
}

HINTERNET UpdateAgent::Open(const std::string& url) const {
  char canonical[1024] = {};
  DWORD size = sizeof canonical;
  if (!InternetCanonicalizeUrlA(url.c_str(), canonical, &size, ICU_BROWSER_MODE)) return nullptr;
  return InternetOpenUrlA(internet_, canonical, nullptr, 0,
                          INTERNET_FLAG_RELOAD | INTERNET_FLAG_RESYNCHRONIZE |
                              INTERNET_FLAG_HYPERLINK | INTERNET_FLAG_NEED_FILE,
                          0);
}

bool UpdateAgent::Download(HINTERNET request, const std::string& path, ProgressSink* sink) const {
  if (NumberHeader(request, HTTP_QUERY_STATUS_CODE) != 200) return false;
  std::optional<long> length = NumberHeader(request, HTTP_QUERY_CONTENT_LENGTH);
  std::int32_t total = length && *length > 0 ? static_cast<std::int32_t>(*length) : 0;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  if (sink) {
    sink->onStart();
    PumpMessages();
  }
  std::int64_t received = 0;
  bool ok = false;
  std::vector<char> block(kBlockSize);
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request, block.data(), kBlockSize, &got)) break;
    if (got == 0) {
      // A body shorter than the server announced is a broken download, not a complete one.
      ok = total == 0 || received == total;
      if (ok && sink) {
        sink->onDone();
        PumpMessages();
      }
      break;
    }
    received += got;
    DWORD written = 0;
    if (!WriteFile(file, block.data(), got, &written, nullptr) || written != got) break;
    if (sink) {
      sink->onProgress(static_cast<std::int32_t>(received), total);
      if (sink->isCancelled()) break;
      PumpMessages();
    }
  }
  CloseHandle(file);
  return ok;
}

bool UpdateAgent::DownloadSigned(HINTERNET request, const std::string& url, const std::string& path,
                                 ProgressSink* sink) const {
  // The file, then its signature; nothing unsigned takes an installed file's place.
  std::string signature;
  return Download(request, path, sink) && ReadSmall(url + ".sig", kSignatureSize, signature) &&
         VerifyFileSignature(
             path,
             std::span(reinterpret_cast<const std::uint8_t*>(signature.data()), signature.size()),
             key_);
}

bool UpdateAgent::ReadSmall(const std::string& url, size_t limit, std::string& body) const {
  Request request(Open(url));
  if (!request || NumberHeader(request.get(), HTTP_QUERY_STATUS_CODE) != 200) return false;
  body.clear();
  std::vector<char> block(kBlockSize);
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request.get(), block.data(), kBlockSize, &got)) return false;
    if (got == 0) return true;
    body.append(block.data(), got);
    if (body.size() > limit) return false;
  }
}

bool UpdateAgent::Ask(const std::string& question) const {
  return MessageBoxW(nullptr, WideFromUtf8(question).c_str(), WideFromUtf8(kTitle).c_str(),
                     MB_YESNO | MB_ICONQUESTION) == IDYES;
}

UpdateResult UpdateAgent::checkAndUpdate(const std::string& baseUrl, ProgressSink* sink,
                                         const std::string& localPath,
                                         const std::string& manifestName,
                                         const std::string& remoteName) {
  if (!isOnline()) return UpdateResult::NotConnected;
  DeleteFileA((localPath + ".bak").c_str());
  for (int number = 0; number < 10; ++number) DeleteFileA(BackupName(localPath, number).c_str());
  std::string localVersion = fileVersionString(localPath);
  if (localVersion.empty()) return UpdateResult::NoLocalVersion;

  // The manifest: one single read of at most one block, as the server writes it.
  std::string manifest;
  {
    Request request(Open(baseUrl + ManifestName(manifestName, remoteName, localPath)));
    if (!request) return UpdateResult::OpenFailed;
    if (NumberHeader(request.get(), HTTP_QUERY_STATUS_CODE) != 200) {
      return UpdateResult::ManifestFailed;
    }
    std::vector<char> block(kBlockSize, '\0');
    DWORD got = 0;
    if (!InternetReadFile(request.get(), block.data(), kBlockSize, &got) || got == 0) {
      return UpdateResult::ManifestFailed;
    }
    manifest.assign(block.data(), got);
    manifest.resize(std::min(manifest.find('\0'), manifest.size()));
  }
  int verdict = compareVersions(manifest, localVersion);
  if (verdict != kOptionalUpdate && verdict != kMandatoryUpdate) return UpdateResult::NoUpdate;
  bool mandatory = verdict == kMandatoryUpdate;
  UpdateResult failed = mandatory ? UpdateResult::MustNotContinue : UpdateResult::DownloadFailed;

  std::string localName = localPath.substr(localPath.find_last_of('\\') + 1);
  std::string fileUrl = baseUrl + (remoteName.empty() ? localName : remoteName);
  Request request(Open(fileUrl));
  if (!request) return UpdateResult::OpenFailed;
  if (interactive_) {
    char question[512];
    wsprintfA(
        question,
        mandatory
            ? "文件 %s 有一个必须更新版本 %s 需要更新，否则不能继续使用软件。\n您是否现在更新？"
            : "文件 %s 有一个更新版本 %s 可以更新，您是否需要现在更新？",
        localName.c_str(), manifest.c_str());
    if (!Ask(question)) return mandatory ? UpdateResult::MustNotContinue : UpdateResult::Declined;
  }
  std::unique_ptr<DownloadProgressDialog> dialog;
  if (!sink && interactive_) {
    dialog = std::make_unique<DownloadProgressDialog>(resources_);
    dialog->Show();
    sink = dialog.get();
  }
  char tempFolder[MAX_PATH] = {};
  char temp[MAX_PATH] = {};
  if (!GetTempPathA(MAX_PATH, tempFolder) ||
      !GetTempFileNameA(tempFolder, localName.c_str(), 0, temp)) {
    return failed;
  }
  if (!DownloadSigned(request.get(), fileUrl, temp, sink)) {
    DeleteFileA(temp);
    return failed;
  }
  if (!replaceFile(localPath, temp)) {
    DeleteFileA(temp);
    return UpdateResult::Declined;
  }
  return UpdateResult::Updated;
}

UpdateResult UpdateAgent::checkAndUpdateSelf(const std::string& baseUrl, ProgressSink* sink,
                                             const std::string& manifestName,
                                             const std::string& remoteName) {
  return checkAndUpdate(baseUrl, sink, OwnProgramPath(), manifestName, remoteName);
}

int UpdateAgent::Fetch(const std::string& url, bool showDialog,
                       const std::function<bool(HINTERNET, ProgressSink*)>& save) {
  if (!isOnline()) return 1;
  Request request(Open(url));
  if (!request) return 2;
  // No dialog window at all unless it is shown: the news feed downloads on a background thread
  // of whatever application the input method serves.
  std::optional<DownloadProgressDialog> dialog;
  if (showDialog) {
    dialog.emplace(resources_);
    dialog->Show();
  }
  return save(request.get(), dialog ? &*dialog : nullptr) ? 0 : 2;
}

int UpdateAgent::downloadToFile(const std::string& url, const std::string& path, bool showDialog) {
  return Fetch(url, showDialog, [&](HINTERNET request, ProgressSink* sink) {
    return Download(request, path, sink);
  });
}

int UpdateAgent::downloadSignedToFile(const std::string& url, const std::string& path,
                                      bool showDialog) {
  // Beside the target, so that the verified file is moved into place, not copied.
  std::string temp = path + ".download";
  return Fetch(url, showDialog, [&](HINTERNET request, ProgressSink* sink) {
    if (DownloadSigned(request, url, temp, sink) &&
        MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
      return true;
    }
    DeleteFileA(temp.c_str());
    return false;
  });
}

}  // namespace tvime
