// ReplaceFileContents on Windows: a temporary file in the same directory, flushed, then moved over
// the old file.

#include <windows.h>

#include "base/file_io.h"

namespace tvime {
namespace {

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return FlushFileBuffers(file) != FALSE;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
  char temp[MAX_PATH];
  if (!GetTempFileNameA(DirectoryOf(path).c_str(), "tvi", 0, temp)) return false;
  HANDLE file =
      CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ok = file != INVALID_HANDLE_VALUE;
  if (ok) {
    ok = WriteAll(file, bytes);
    ok = CloseHandle(file) && ok;
  }
  ok = ok && MoveFileExA(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!ok) DeleteFileA(temp);
  return ok;
}

}  // namespace tvime
