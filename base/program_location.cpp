#include "base/program_location.h"

namespace tvime {

bool IsAbsoluteWindowsPath(std::string_view path) {
  auto isSlash = [](char c) { return c == '\\' || c == '/'; };
  bool drive = path.size() >= 3 &&
               ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
               path[1] == ':' && isSlash(path[2]);
  bool unc = path.size() >= 3 && isSlash(path[0]) && isSlash(path[1]) && !isSlash(path[2]);
  return drive || unc;
}

std::vector<std::string> ProgramCandidates(std::string_view fileName,
                                           std::string_view installDirectory,
                                           std::string_view moduleDirectory) {
  std::vector<std::string> paths;
  for (std::string_view directory : {installDirectory, moduleDirectory}) {
    if (!IsAbsoluteWindowsPath(directory)) continue;
    std::string path(directory);
    if (path.back() != '\\' && path.back() != '/') path += '\\';
    path += fileName;
    paths.push_back(std::move(path));
  }
  return paths;
}

}  // namespace tvime
