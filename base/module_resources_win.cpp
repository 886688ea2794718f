#include "base/module_resources_win.h"

#include <string>

namespace tvime {

std::optional<ByteSpan> ModuleResources::FindData(std::string_view name) const {
  // FindResource compares names without regard to case; type 10 is RT_RCDATA (narrow form).
  std::string zName(name);
  HRSRC info = FindResourceA(module_, zName.c_str(), MAKEINTRESOURCEA(10));
  if (!info) return std::nullopt;
  HGLOBAL handle = LoadResource(module_, info);
  if (!handle) return std::nullopt;
  const void* bytes = LockResource(handle);
  DWORD size = SizeofResource(module_, info);
  if (!bytes) return std::nullopt;
  return ByteSpan(static_cast<const std::uint8_t*>(bytes), size);
}

}  // namespace tvime
