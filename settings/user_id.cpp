#include "settings/user_id.h"

namespace tvime {

std::string EnsureUserId(Settings& settings, const std::function<std::string()>& newGuid,
                         std::int64_t now) {
  std::string id = settings.Read(setting::UserId);
  if (!id.empty()) return id;
  id = newGuid();
  if (id.empty()) return id;
  settings.Write(setting::UserId, id);
  settings.Write(setting::UserRegTime, static_cast<std::int32_t>(now));
  return id;
}

}  // namespace tvime
