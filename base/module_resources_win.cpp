#include "base/module_resources_win.h"

#include <string>

namespace tvime {

namespace {

std::optional<ByteSpan> Load(HMODULE module, HRSRC info) {
  if (!info) return std::nullopt;
  HGLOBAL handle = LoadResource(module, info);
  if (!handle) return std::nullopt;
  const void* bytes = LockResource(handle);
  DWORD size = SizeofResource(module, info);
  if (!bytes) return std::nullopt;
  return ByteSpan(static_cast<const std::uint8_t*>(bytes), size);
}

}  // namespace

std::optional<ByteSpan> ModuleResources::FindData(std::string_view name) const {
  // FindResource compares names without regard to case; type 10 is RT_RCDATA (narrow form).
  std::string zName(name);
  return Load(module_, FindResourceA(module_, zName.c_str(), MAKEINTRESOURCEA(10)));
}

std::optional<ByteSpan> FindModuleResource(HMODULE module, int id, int type) {
  return Load(module, FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(type)));
}

}  // namespace tvime
