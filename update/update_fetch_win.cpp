#include "update/update_fetch_win.h"

#include <algorithm>
#include <ctime>
#include <span>
#include <utility>
#include <vector>

#include "update/file_swap_win.h"
#include "update/sha256_win.h"
#include "update/update_agent_win.h"

namespace tvime {
namespace {

constexpr size_t kBlockSize = 4096;

// A numeric header of the response (the status, the length); nullopt when absent or not a plain
// number.
std::optional<std::uint64_t> NumberHeader(HINTERNET request, DWORD query) {
  char text[80] = {};
  DWORD size = sizeof text - 1;
  if (!HttpQueryInfoA(request, query, text, &size, nullptr) || size == 0) return std::nullopt;
  std::uint64_t value = 0;
  for (DWORD i = 0; i < size && i < sizeof text - 1; ++i) {
    if (text[i] < '0' || text[i] > '9' || value > kMaxUpdateFileSize * 1024) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
  }
  return value;
}

// 200, or 206 for the part asked for.
bool Answered(HINTERNET request) {
  auto status = NumberHeader(request, HTTP_QUERY_STATUS_CODE);
  return status == 200 || status == 206;
}

// Up to `size` bytes of what has arrived: waits only until some data is there, not until the
// buffer is full (a server sending a byte a second would otherwise hold one read for an hour).
// True with `got` 0 at the end of the body; false on failure or when the receive timeout passed.
bool ReadSome(HINTERNET request, void* buffer, DWORD size, DWORD& got) {
  got = 0;
  DWORD available = 0;
  if (!InternetQueryDataAvailable(request, &available, 0, 0)) return false;
  if (available == 0) return true;
  return InternetReadFile(request, buffer, std::min(available, size), &got);
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

enum class Fetched { Ok, OpenFailed, NotFound, TooLarge, Broken };

// A small response (a manifest, a statement): at most `limit` bytes, answered with 200 (or 206).
Fetched ReadSmall(FetchJob& job, const std::string& url, size_t limit, std::string& body) {
  body.clear();
  // One byte more than the limit is asked for, to tell "exactly the limit" from "more".
  HttpRequest request = OpenRequest(*job.session, url, limit + 1);
  if (!request) return Fetched::OpenFailed;
  if (!Answered(request.get())) return Fetched::NotFound;
  // A declared length over the limit is refused before a byte is read.
  if (auto length = NumberHeader(request.get(), HTTP_QUERY_CONTENT_LENGTH);
      length && *length > limit) {
    return Fetched::TooLarge;
  }
  std::vector<char> block(kBlockSize);
  for (;;) {
    if (job.cancelled) return Fetched::Broken;
    DWORD got = 0;
    if (!ReadSome(request.get(), block.data(), kBlockSize, got)) return Fetched::Broken;
    if (got == 0) return Fetched::Ok;
    body.append(block.data(), got);
    if (body.size() > limit) return Fetched::TooLarge;
  }
}

UpdateResult Refuse(FetchJob& job, UpdateRefusal why) {
  job.refusal = why;
  return UpdateResult::Refused;
}

}  // namespace

std::string FileNameOf(const std::string& path) {
  return path.substr(path.find_last_of("\\/") + 1);
}

UpdateSession::UpdateSession() {
  internet_ =
      InternetOpenA("TavrinAutoUpdateAgent", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

UpdateSession::~UpdateSession() {
  if (internet_) InternetCloseHandle(internet_);
}

FetchJob::FetchJob(std::shared_ptr<UpdateSession> session, const PublicKey& key)
    : session(std::move(session)), key(key), done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

FetchJob::~FetchJob() {
  if (done) CloseHandle(done);
}

HttpRequest::HttpRequest(HttpRequest&& other) noexcept
    : connection_(std::exchange(other.connection_, nullptr)),
      request_(std::exchange(other.request_, nullptr)) {}

HttpRequest::~HttpRequest() {
  if (request_) InternetCloseHandle(request_);
  if (connection_) InternetCloseHandle(connection_);
}

HttpRequest OpenRequest(const UpdateSession& session, const std::string& url,
                        std::optional<std::uint64_t> limit) {
  char canonical[1024] = {};
  DWORD size = sizeof canonical;
  if (!session.handle() || url.size() >= sizeof canonical ||
      !InternetCanonicalizeUrlA(url.c_str(), canonical, &size, ICU_BROWSER_MODE)) {
    return {};
  }
  char host[256] = {}, path[1024] = {}, query[1024] = {};
  URL_COMPONENTSA parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = sizeof host;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = sizeof path;
  parts.lpszExtraInfo = query;
  parts.dwExtraInfoLength = sizeof query;
  if (!InternetCrackUrlA(canonical, 0, 0, &parts) ||
      (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
    return {};
  }
  HINTERNET connection = InternetConnectA(session.handle(), host, parts.nPort, nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, 0);
  if (!connection) return {};
  // Never from or into the cache: a cached copy would be read whole, however large.
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_RESYNCHRONIZE | INTERNET_FLAG_HYPERLINK |
                (parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0);
  std::string object = std::string(path) + query;
  HINTERNET request =
      HttpOpenRequestA(connection, "GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0);
  HttpRequest sent(connection, request);
  if (!request) return {};
  // On the request itself: set on the session, a receive timeout does not reach every request.
  DWORD timeout = UpdateAgent::kRequestTimeoutMs;
  for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                       INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    InternetSetOptionA(request, option, &timeout, sizeof timeout);
  }
  // Only the bytes that can be taken: a server that honours the range sends no more, and a
  // refused body is not drained to keep the connection.
  std::string headers = "Connection: close\r\n";
  if (limit && *limit > 0) headers += "Range: bytes=0-" + std::to_string(*limit - 1) + "\r\n";
  if (!HttpSendRequestA(request, headers.c_str(), static_cast<DWORD>(headers.size()), nullptr, 0)) {
    return {};
  }
  return sent;
}

UpdateResult ReadStatement(FetchJob& job, const std::string& fileUrl, const std::string& name,
                           ReleaseStatement& statement) {
  std::string file;
  switch (ReadSmall(job, fileUrl + ".meta", kMaxMetadataSize, file)) {
    case Fetched::Ok:
      break;
    // Unsigned: nothing vouches for the file.
    case Fetched::NotFound:
      return Refuse(job, UpdateRefusal::NotFromPublisher);
    case Fetched::TooLarge:
      return Refuse(job, UpdateRefusal::TooLarge);
    case Fetched::OpenFailed:
    case Fetched::Broken:
      return Refuse(job, UpdateRefusal::NoAnswer);
  }
  auto parsed = ParseStatementFile(file);
  if (!parsed) return Refuse(job, UpdateRefusal::Damaged);
  auto text = std::span(reinterpret_cast<const std::uint8_t*>(parsed->signedText.data()),
                        parsed->signedText.size());
  if (!VerifySignature(text, parsed->signature, job.key)) {
    return Refuse(job, UpdateRefusal::NotFromPublisher);
  }
  // Another of the publisher's files, served under this one's name.
  if (!SameNameIgnoringCase(parsed->statement.name, name)) {
    return Refuse(job, UpdateRefusal::NotFromPublisher);
  }
  if (parsed->statement.expires && *parsed->statement.expires < std::time(nullptr)) {
    return Refuse(job, UpdateRefusal::Expired);
  }
  statement = parsed->statement;
  return UpdateResult::Updated;
}

UpdateResult FindOffer(FetchJob& job, const std::string& baseUrl, const std::string& localPath,
                       const std::string& manifestName, const std::string& remoteName,
                       UpdateOffer& offer) {
  DWORD flags = 0;
  if (!job.session->handle() || !InternetGetConnectedState(&flags, 0)) {
    return UpdateResult::NotConnected;
  }
  DeleteFileA((localPath + ".bak").c_str());
  for (int number = 0; number < 10; ++number) DeleteFileA(BackupName(localPath, number).c_str());
  std::string localVersion = fileVersionString(localPath);
  auto installed = ParseVersion(localVersion);
  if (!installed) return UpdateResult::NoLocalVersion;

  // The manifest: the published number, as every older program reads it too.
  std::string manifest;
  switch (ReadSmall(job, baseUrl + ManifestName(manifestName, remoteName, localPath),
                    kMaxMetadataSize, manifest)) {
    case Fetched::Ok:
      break;
    case Fetched::OpenFailed:
      return UpdateResult::OpenFailed;
    default:
      return UpdateResult::ManifestFailed;
  }
  manifest.resize(std::min(manifest.find('\0'), manifest.size()));
  if (manifest.empty()) return UpdateResult::ManifestFailed;
  int verdict = compareVersions(manifest, localVersion);
  if (verdict != kOptionalUpdate && verdict != kMandatoryUpdate) return UpdateResult::NoUpdate;

  // Something newer is announced: from here on only the signed statement counts.
  offer.localName = FileNameOf(localPath);
  std::string remote = remoteName.empty() ? offer.localName : remoteName;
  offer.fileUrl = baseUrl + remote;
  UpdateResult read = ReadStatement(job, offer.fileUrl, FileNameOf(remote), offer.statement);
  if (read != UpdateResult::Updated) return read;
  // A replayed older release is refused however the manifest calls it.
  if (!IsLaterVersion(offer.statement.version, *installed)) {
    return Refuse(job, UpdateRefusal::NotNewer);
  }
  // A manifest and a statement of different releases: one of them is not what was published.
  if (offer.statement.version != *ParseVersion(manifest)) {
    return Refuse(job, UpdateRefusal::Damaged);
  }
  offer.mandatory =
      compareVersions(FourPartVersion(offer.statement.version), localVersion) == kMandatoryUpdate;
  return UpdateResult::Updated;
}

UpdateResult FetchVerified(FetchJob& job, const std::string& fileUrl,
                           const ReleaseStatement& statement, const std::string& path) {
  job.expected = statement.size;
  job.leftFile = path;
  HttpRequest request = OpenRequest(*job.session, fileUrl, statement.size + 1);
  if (!request) return Refuse(job, UpdateRefusal::NoAnswer);
  if (!Answered(request.get())) return Refuse(job, UpdateRefusal::Damaged);
  std::optional<std::uint64_t> length = NumberHeader(request.get(), HTTP_QUERY_CONTENT_LENGTH);
  if (length && *length > statement.size) return Refuse(job, UpdateRefusal::TooLarge);
  if (length && *length < statement.size) return Refuse(job, UpdateRefusal::Damaged);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Refuse(job, UpdateRefusal::Damaged);
  Sha256Hasher hasher;
  std::uint64_t received = 0;
  std::optional<UpdateRefusal> refused;
  bool cancelled = false;
  std::vector<std::uint8_t> block(kBlockSize);
  for (;;) {
    if (job.cancelled) {
      cancelled = true;
      break;
    }
    DWORD got = 0;
    if (!ReadSome(request.get(), block.data(), kBlockSize, got)) {
      refused = UpdateRefusal::NoAnswer;
      break;
    }
    if (got == 0) break;
    if (received + got > statement.size) {
      refused = UpdateRefusal::TooLarge;
      break;
    }
    received += got;
    job.received = received;
    hasher.Add(std::span(block.data(), got));
    DWORD written = 0;
    if (!WriteFile(file, block.data(), got, &written, nullptr) || written != got) {
      refused = UpdateRefusal::Damaged;
      break;
    }
  }
  CloseHandle(file);
  if (!cancelled && !refused &&
      (received != statement.size || hasher.Finish() != statement.sha256)) {
    refused = UpdateRefusal::Damaged;
  }
  // The bytes are the signed ones; the program must also say of itself what the statement says.
  if (!cancelled && !refused) {
    auto version = ParseVersion(fileVersionString(path));
    if (!version || *version != statement.version ||
        !SameNameIgnoringCase(originalFileName(path), statement.name)) {
      refused = UpdateRefusal::NotFromPublisher;
    }
  }
  if (cancelled || refused) {
    DeleteFileA(path.c_str());
    return cancelled ? UpdateResult::DownloadFailed : Refuse(job, *refused);
  }
  return UpdateResult::Updated;
}

bool DownloadPlain(FetchJob& job, const std::string& url, const std::string& path,
                   std::uint64_t limit) {
  HttpRequest request = OpenRequest(*job.session, url, limit + 1);
  if (!request || !Answered(request.get())) return false;
  std::optional<std::uint64_t> length = NumberHeader(request.get(), HTTP_QUERY_CONTENT_LENGTH);
  if (length && *length > limit) return false;
  job.expected = length.value_or(0);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  std::uint64_t received = 0;
  bool ok = false;
  std::vector<char> block(kBlockSize);
  for (;;) {
    DWORD got = 0;
    if (job.cancelled || !ReadSome(request.get(), block.data(), kBlockSize, got)) break;
    if (got == 0) {
      // A body shorter than the server announced is a broken download, not a complete one.
      ok = !length || received == *length;
      break;
    }
    received += got;
    job.received = received;
    if (received > limit) break;
    DWORD written = 0;
    if (!WriteFile(file, block.data(), got, &written, nullptr) || written != got) break;
  }
  CloseHandle(file);
  return ok;
}

}  // namespace tvime
