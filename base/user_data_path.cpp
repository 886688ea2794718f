#include "base/user_data_path.h"

namespace tvime {

std::string UserDataDirectoryIn(std::string_view appDataFolder) {
  std::string directory(appDataFolder);
  if (directory.empty() || directory.back() != '\\') directory += '\\';
  return directory + "tvime\\";
}

}  // namespace tvime
