#pragma once
// The user's shared copy of the decoded dictionaries: a file in the local application-data folder
// that every process of the user maps read-only, so that the pages of the dictionaries are in
// memory once however many applications load the input method. A cache file rather than a named
// section: it outlives the session (descrambling is paid once per build, not once per logon), a
// finished copy appears whole by a rename (racing processes cannot see half of one), and its
// access list is the file system's, which keeps other users out.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/resources.h"

namespace tvime {

// The dictionaries of `stored` through the user's image in `folder`; nullptr when there is no
// valid image for them and for `build` (the build of the code that reads it), and the caller
// loads its own copy.
std::unique_ptr<ResourceSource> MapSharedDictionaries(const ResourceSource& stored,
                                                      const std::wstring& folder,
                                                      std::uint64_t build);
// The same, and when `mayCreate` the image is made first if it is missing, stale or damaged, and
// those of other builds are removed. A program does this once, off its user's path (the first
// application then starts as fast as without an image, and the next ones map it), and keeps the
// result mapped: its token then spares the next processes the content's hash.
std::unique_ptr<ResourceSource> OpenSharedDictionaries(const ResourceSource& stored,
                                                       const std::wstring& folder,
                                                       std::uint64_t build, bool mayCreate);

// Security for a new file that the current user alone may open: one entry, the user's, and none
// inherited from the folder.
class UserOnlyAccess {
 public:
  UserOnlyAccess();
  UserOnlyAccess(const UserOnlyAccess&) = delete;
  UserOnlyAccess& operator=(const UserOnlyAccess&) = delete;
  // nullptr when the user or the descriptor could not be had: make no file then.
  SECURITY_ATTRIBUTES* attributes() { return valid_ ? &attributes_ : nullptr; }
  const SECURITY_DESCRIPTOR& descriptor() const { return descriptor_; }

 private:
  std::vector<BYTE> sid_;
  std::vector<BYTE> acl_;
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
  bool valid_ = false;
};

// "%LOCALAPPDATA%\tvime\cache", created; empty when there is no such folder.
std::wstring DictionaryCacheFolder();

// Whether this process may make a copy that others use: not when it runs at low integrity or in
// an app container (browser sandboxes load input methods too), whose files others must not trust.
bool ProcessMayShareDictionaries();
// The same for the process or thread that has `token` (opened with TOKEN_QUERY).
bool TokenMayShareDictionaries(HANDLE token);
// The rule both apply to what the token says: an ordinary process or a more trusted one.
bool MayShareDictionaries(bool inAppContainer, DWORD integrityLevel);

}  // namespace tvime
