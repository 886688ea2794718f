#include "engine/dictionary_cache_win.h"

#include <windows.h>

#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <optional>
#include <vector>

#include "engine/dictionary_image.h"

namespace tvime {
namespace {

constexpr ULONGLONG kLargestImage = 256ull << 20;

class MappedDictionaries : public ResourceSource {
 public:
  MappedDictionaries(const void* view, DictionaryImageResources resources, HANDLE checkedToken)
      : view_(view), resources_(std::move(resources)), checkedToken_(checkedToken) {}
  ~MappedDictionaries() override {
    UnmapViewOfFile(view_);
    if (checkedToken_) CloseHandle(checkedToken_);
  }
  MappedDictionaries(const MappedDictionaries&) = delete;
  MappedDictionaries& operator=(const MappedDictionaries&) = delete;

  std::optional<ByteSpan> FindData(std::string_view name) const override {
    return resources_.FindData(name);
  }
  bool Decoded(std::string_view name) const override { return resources_.Decoded(name); }
  bool IndexesChecked() const override { return resources_.IndexesChecked(); }

 private:
  const void* view_;
  DictionaryImageResources resources_;
  HANDLE checkedToken_;
};

// The file's number on its volume, from the system's own query: GetFileInformationByHandle
// gives it too, but asks for the volume's serial as well, which Wine fetches from its mount
// manager at the cost of milliseconds.
std::optional<std::uint64_t> FileNumber(HANDLE file) {
  struct IoStatus {
    union {
      LONG status;
      void* pointer;
    };
    ULONG_PTR information;
  };
  using Query = LONG(WINAPI*)(HANDLE, IoStatus*, void*, ULONG, int);
  constexpr int kFileInternalInformation = 6;
  // Looked up at each call (once per process): a guarded local static would start the C++
  // runtime's thread support, a few round trips more on the application's first selection.
  const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationFile")));
  IoStatus io{};
  std::uint64_t number = 0;
  if (!query || query(file, &io, &number, sizeof number, kFileInternalInformation) < 0) {
    return std::nullopt;
  }
  return number;
}

// The name of a token in the logon session's namespace that says: the content of this very file
// was hashed and its indexes checked, and found whole. It names the file's path, number, last
// write and size, so a file made again or written since is never covered by an older token. The
// token lives while any process that checked or trusted it keeps the image mapped; when the last
// one ends, the next process checks the file again. Only processes that may share dictionaries
// map images at all, and a low-integrity process cannot make objects in this namespace.
std::wstring CheckedTokenName(HANDLE file, const std::wstring& path, LARGE_INTEGER size) {
  FILETIME written{};
  std::optional<std::uint64_t> number = FileNumber(file);
  if (!number || !GetFileTime(file, nullptr, nullptr, &written)) return {};
  std::uint64_t pathHash = HashBytes(
      ByteSpan(reinterpret_cast<const std::uint8_t*>(path.data()), path.size() * sizeof(wchar_t)));
  wchar_t name[112];
  std::swprintf(name, 112, L"Local\\tvime-dict-checked-%016llx-%016llx-%08lx%08lx-%016llx",
                static_cast<unsigned long long>(pathHash), static_cast<unsigned long long>(*number),
                written.dwHighDateTime, written.dwLowDateTime,
                static_cast<unsigned long long>(size.QuadPart));
  return name;
}

std::unique_ptr<ResourceSource> MapImage(const std::wstring& path, const DictionaryImageKey& key,
                                         const ResourceSource& stored) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER size{};
  HANDLE mapping = nullptr;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
      static_cast<ULONGLONG>(size.QuadPart) <= kLargestImage) {
    mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  }
  std::wstring tokenName = CheckedTokenName(file, path, size);
  CloseHandle(file);
  if (!mapping) return nullptr;
  const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  CloseHandle(mapping);  // the view keeps the mapping
  if (!view) return nullptr;
  // Hashing the whole image would touch all its pages in every process (most of the start's
  // time): it is done by the first process of the session that maps this file.
  HANDLE checked = tokenName.empty() ? nullptr : OpenEventW(SYNCHRONIZE, FALSE, tokenName.c_str());
  ByteSpan bytes(static_cast<const std::uint8_t*>(view), static_cast<size_t>(size.QuadPart));
  std::optional<DictionaryImageResources> resources =
      DictionaryImageResources::Open(bytes, key, stored, /*checkContent=*/!checked);
  if (!resources) {
    if (checked) CloseHandle(checked);
    UnmapViewOfFile(view);
    return nullptr;
  }
  if (!checked && !tokenName.empty()) {
    UserOnlyAccess access;
    checked = CreateEventW(access.attributes(), TRUE, FALSE, tokenName.c_str());
  }
  return std::make_unique<MappedDictionaries>(view, std::move(*resources), checked);
}

// The user's SID, for an access list that names the user alone.
std::vector<BYTE> CurrentUserSid() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<BYTE> user(size);
  std::vector<BYTE> sid;
  if (size && GetTokenInformation(token, TokenUser, user.data(), size, &size)) {
    PSID userSid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    sid.assign(static_cast<BYTE*>(userSid), static_cast<BYTE*>(userSid) + GetLengthSid(userSid));
  }
  CloseHandle(token);
  return sid;
}

}  // namespace

UserOnlyAccess::UserOnlyAccess() : sid_(CurrentUserSid()) {
  if (sid_.empty()) return;
  acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + sid_.size());
  auto* acl = reinterpret_cast<ACL*>(acl_.data());
  valid_ = InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
           AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid_.data()) &&
           InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
           SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
  attributes_ = {sizeof attributes_, &descriptor_, FALSE};
}

namespace {

// Writes `image` to a new file that only the user may open, then gives it the name `path` in one
// step: a process that maps `path` finds a whole image or none.
void PublishImage(const std::vector<std::uint8_t>& image, const std::wstring& path,
                  bool replaceExisting) {
  UserOnlyAccess access;
  if (!access.attributes()) return;
  static std::atomic<unsigned> attempts{0};
  wchar_t suffix[48];
  std::swprintf(suffix, 48, L".%lu-%u.tmp", GetCurrentProcessId(), ++attempts);
  std::wstring temporary = path + suffix;
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, access.attributes(), CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  // Flushed before it is named: the pages every process maps are then clean ones of the file,
  // not yet-unwritten ones that the system counts against the first process to map them.
  bool whole = WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr) &&
               written == image.size() && FlushFileBuffers(file);
  CloseHandle(file);
  // Losing a race to another process that published first leaves its image in place.
  if (!whole || !MoveFileExW(temporary.c_str(), path.c_str(),
                             replaceExisting ? MOVEFILE_REPLACE_EXISTING : 0)) {
    DeleteFileW(temporary.c_str());
  }
}

// Removes the images of other builds and dictionaries, and the temporary files of makers that
// were ended before they finished. One still mapped somewhere stays, and so does the temporary
// file of a maker at work: it is open without sharing, which refuses the delete.
void RemoveOtherImages(const std::wstring& folder, const std::wstring& keep) {
  for (const wchar_t* pattern : {L"\\dict-*.bin", L"\\dict-*.tmp"}) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      std::wstring path = folder + L"\\" + found.cFileName;
      if (path != keep) DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
}

}  // namespace

namespace {

std::wstring ImagePath(const std::wstring& folder, const DictionaryImageKey& key) {
  wchar_t name[64];
  std::swprintf(name, 64, L"\\dict-%016llx-%016llx.bin", static_cast<unsigned long long>(key.build),
                static_cast<unsigned long long>(key.dataHash));
  return folder + name;
}

}  // namespace

std::unique_ptr<ResourceSource> MapSharedDictionaries(const ResourceSource& stored,
                                                      const std::wstring& folder,
                                                      std::uint64_t build) {
  if (folder.empty()) return nullptr;
  DictionaryImageKey key{build, DictionaryDataHash(stored)};
  return MapImage(ImagePath(folder, key), key, stored);
}

std::unique_ptr<ResourceSource> OpenSharedDictionaries(const ResourceSource& stored,
                                                       const std::wstring& folder,
                                                       std::uint64_t build, bool mayCreate) {
  if (folder.empty()) return nullptr;
  DictionaryImageKey key{build, DictionaryDataHash(stored)};
  std::wstring path = ImagePath(folder, key);
  if (auto mapped = MapImage(path, key, stored)) return mapped;
  if (!mayCreate) return nullptr;
  bool damaged = GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  PublishImage(BuildDictionaryImage(stored, key), path, damaged);
  RemoveOtherImages(folder, path);
  return MapImage(path, key, stored);
}

std::wstring DictionaryCacheFolder() {
  wchar_t base[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", base, MAX_PATH);
  if ((length == 0 || length >= MAX_PATH) &&
      (!SHGetSpecialFolderPathW(nullptr, base, CSIDL_LOCAL_APPDATA, FALSE) || !base[0])) {
    return {};
  }
  std::wstring folder = std::wstring(base) + L"\\tvime\\cache";
  auto isFolder = [&folder] {
    DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  };
  if (isFolder()) return folder;
  CreateDirectoryW(folder.substr(0, folder.size() - 6).c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  return isFolder() ? folder : std::wstring();
}

namespace {

// What `token` says, or nothing when it does not answer the integrity query.
std::optional<bool> QueriedMayShare(HANDLE token) {
  alignas(8) BYTE label[64];
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenIntegrityLevel, label, sizeof label, &size)) {
    return std::nullopt;
  }
  PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(label)->Label.Sid;
  DWORD level = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1);
  // TokenIsAppContainer (29) is unknown before Windows 8, where there are no app containers.
  DWORD appContainer = 0;
  bool inAppContainer = GetTokenInformation(token, static_cast<TOKEN_INFORMATION_CLASS>(29),
                                            &appContainer, sizeof appContainer, &size) &&
                        appContainer;
  return MayShareDictionaries(inAppContainer, level);
}

}  // namespace

bool ProcessMayShareDictionaries() {
  // Since Windows 8 the process's token answers queries through a pseudo-handle
  // (GetCurrentProcessToken), without a handle to open and close on every application's start.
  // Before that the query fails, and the token is opened.
  const HANDLE currentProcessToken = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-4));
  if (std::optional<bool> may = QueriedMayShare(currentProcessToken)) return *may;
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  bool may = TokenMayShareDictionaries(token);
  CloseHandle(token);
  return may;
}

bool TokenMayShareDictionaries(HANDLE token) {
  // Without integrity levels (before Vista) every process is an ordinary one.
  return QueriedMayShare(token).value_or(
      MayShareDictionaries(false, SECURITY_MANDATORY_MEDIUM_RID));
}

bool MayShareDictionaries(bool inAppContainer, DWORD integrityLevel) {
  return !inAppContainer && integrityLevel >= SECURITY_MANDATORY_MEDIUM_RID;
}

}  // namespace tvime
