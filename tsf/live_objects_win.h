#pragma once
// The COM objects of the module that are alive: while any is, the DLL must stay loaded.

#include <windows.h>

#include <atomic>

namespace tvime {

inline std::atomic<LONG>& LiveObjects() {
  static std::atomic<LONG> count{0};
  return count;
}

}  // namespace tvime
