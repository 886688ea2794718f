// ReplaceFileContents on POSIX: a temporary file in the same directory, fsync, rename.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include "base/file_io.h"

namespace tvime {

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = true;
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (ok && left > 0) {
    ssize_t written = write(fd, data, left);
    if (written <= 0) {
      ok = false;
    } else {
      data += written;
      left -= static_cast<size_t>(written);
    }
  }
  ok = ok && fsync(fd) == 0;
  ok = (close(fd) == 0) && ok;
  ok = ok && rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace tvime
