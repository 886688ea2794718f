#pragma once
// A function a DLL exports, looked up by name and typed: GetProcAddress hands back a generic
// pointer, and the cast through void* is the one compilers accept for it. Null when the module
// does not export the name.

#include <windows.h>

namespace tvime {

template <typename Function>
Function ExportedFunction(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace tvime
