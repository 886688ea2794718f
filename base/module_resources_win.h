#pragma once
// Data resources (RT_RCDATA) of a loaded Windows module.

#include <windows.h>

#include "base/resources.h"

namespace tvime {

class ModuleResources : public ResourceSource {
 public:
  explicit ModuleResources(HMODULE module) : module_(module) {}
  std::optional<ByteSpan> FindData(std::string_view name) const override;
  HMODULE module() const { return module_; }

 private:
  HMODULE module_;
};

// The bytes of resource `id` of `type` (a number) in `module`; nullopt when absent.
std::optional<ByteSpan> FindModuleResource(HMODULE module, int id, int type);

}  // namespace tvime
