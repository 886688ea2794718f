#pragma once
// Test helper: the dictionaries the build ships (TVIME_DICT_DIR), read once per program.

#include "base/resources.h"

namespace tvime::testing {

inline const DirectoryResources& ShippedDictionaries() {
  static DirectoryResources resources(TVIME_DICT_DIR);
  return resources;
}

}  // namespace tvime::testing
