#include "update/file_swap_win.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "update/update_rules.h"

namespace tvime {

bool replaceFile(const std::string& target, const std::string& newFile) {
  std::string backup;
  for (int number = 0; number < 10 && backup.empty(); ++number) {
    std::string candidate = BackupName(target, number);
    DeleteFileA(candidate.c_str());
    if (MoveFileExA(target.c_str(), candidate.c_str(), MOVEFILE_COPY_ALLOWED)) backup = candidate;
  }
  if (backup.empty()) return false;
  if (!MoveFileExA(newFile.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED)) {
    // The installed file goes back rather than leave its place empty until a restart.
    if (!MoveFileExA(backup.c_str(), target.c_str(), MOVEFILE_COPY_ALLOWED)) {
      MoveFileExA(newFile.c_str(), target.c_str(),
                  MOVEFILE_DELAY_UNTIL_REBOOT | MOVEFILE_REPLACE_EXISTING);
    }
    return false;
  }
  // A running program's own image can be moved but not deleted.
  if (!DeleteFileA(backup.c_str())) {
    MoveFileExA(backup.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  }
  return true;
}

namespace {

// The file's version resource; empty when it has none.
std::vector<char> VersionBlock(const std::string& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  std::vector<char> block(size);
  if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return {};
  return block;
}

}  // namespace

std::string fileVersionString(const std::string& path) {
  std::vector<char> block = VersionBlock(path);
  if (block.empty()) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return {};
  }
  return VersionText(info->dwFileVersionMS, info->dwFileVersionLS);
}

std::string originalFileName(const std::string& path) {
  std::vector<char> block = VersionBlock(path);
  if (block.empty()) return {};
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) ||
      !translation || length < sizeof(Translation)) {
    return {};
  }
  char key[64];
  std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\OriginalFilename",
                translation->language, translation->codePage);
  char* name = nullptr;
  if (!VerQueryValueA(block.data(), key, reinterpret_cast<void**>(&name), &length) || !name ||
      length == 0) {
    return {};
  }
  // The length counts the terminating zero; the text is never longer than the block.
  return std::string(name, strnlen(name, length));
}

}  // namespace tvime
