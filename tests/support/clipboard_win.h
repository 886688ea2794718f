#pragma once
// Test helper: the clipboard's blocks as bytes, one block per format.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tvime::testing {

// Puts blocks of bytes on the clipboard, one per format.
inline void PutOnClipboard(HWND owner, const std::vector<std::pair<UINT, std::string>>& formats) {
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  for (const auto& [format, bytes] : formats) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    SetClipboardData(format, block);
  }
  CloseClipboard();
}

inline std::string ClipboardBytes(HWND owner, UINT format) {
  std::string bytes;
  if (!OpenClipboard(owner)) return "<not open>";
  if (HANDLE data = GetClipboardData(format)) {
    const char* source = static_cast<const char*>(GlobalLock(data));
    bytes.assign(source, GlobalSize(data));
    GlobalUnlock(data);
  } else {
    bytes = "<none>";
  }
  CloseClipboard();
  return bytes;
}

}  // namespace tvime::testing
