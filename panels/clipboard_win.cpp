// The selected text of the application, fetched through the clipboard (WM_COPY) with the user's
// clipboard saved before and put back after, format by format.

#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include "base/gbk.h"
#include "panels/panel_windows_win.h"
#include "session/clipboard_formats.h"

namespace tvime {
namespace {

// More than this on the clipboard is not copied: the selection is then not fetched at all.
constexpr size_t kMaxSavedBytes = 64 * 1024 * 1024;
constexpr UINT kCopyTimeoutMs = 2000;

// One format's data as it was, in a form that outlives the clipboard's contents.
struct SavedFormat {
  UINT format = 0;
  std::vector<char> bytes;  // ClipboardKeep::Bytes
  HANDLE handle = nullptr;  // an own copy of a metafile or a bitmap
  ClipboardKeep keep = ClipboardKeep::Bytes;
};

class SavedClipboard {
 public:
  SavedClipboard() = default;
  SavedClipboard(const SavedClipboard&) = delete;
  SavedClipboard& operator=(const SavedClipboard&) = delete;
  ~SavedClipboard() {
    // Handles that were not handed back to the clipboard are ours to free.
    for (SavedFormat& saved : formats_) FreeHandle(saved);
  }

  // Copies every format of the open clipboard; false when one cannot be kept.
  bool Save() {
    std::vector<unsigned> present;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
      present.push_back(format);
    }
    size_t total = 0;
    for (unsigned format : present) {
      SavedFormat saved;
      saved.format = format;
      saved.keep = HowToKeep(format, present);
      if (saved.keep == ClipboardKeep::Synthesized) continue;
      if (saved.keep == ClipboardKeep::Impossible) return false;
      HANDLE data = GetClipboardData(format);
      if (!data) continue;  // announced but not given (an owner that failed to render it)
      switch (saved.keep) {
        case ClipboardKeep::Bytes: {
          size_t size = GlobalSize(data);
          total += size;
          if (total > kMaxSavedBytes) return false;
          const void* source = GlobalLock(data);
          if (!source && size != 0) return false;
          saved.bytes.assign(static_cast<const char*>(source),
                             static_cast<const char*>(source) + size);
          if (source) GlobalUnlock(data);
          break;
        }
        case ClipboardKeep::EnhancedMetafile:
          saved.handle = CopyEnhMetaFileW(static_cast<HENHMETAFILE>(data), nullptr);
          if (!saved.handle) return false;
          break;
        case ClipboardKeep::Bitmap:
          saved.handle = CopyImage(data, IMAGE_BITMAP, 0, 0, 0);
          if (!saved.handle) return false;
          break;
        default:
          break;
      }
      formats_.push_back(std::move(saved));
    }
    return true;
  }

  // Puts every saved format on the open, emptied clipboard.
  void Restore() {
    for (SavedFormat& saved : formats_) {
      if (saved.keep == ClipboardKeep::Bytes) {
        HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, saved.bytes.size());
        void* target = copy ? GlobalLock(copy) : nullptr;
        if (!target) {
          if (copy) GlobalFree(copy);
          continue;
        }
        std::memcpy(target, saved.bytes.data(), saved.bytes.size());
        GlobalUnlock(copy);
        if (!SetClipboardData(saved.format, copy)) GlobalFree(copy);
      } else if (saved.handle && SetClipboardData(saved.format, saved.handle)) {
        saved.handle = nullptr;  // the clipboard owns it now
      }
    }
  }

 private:
  static void FreeHandle(SavedFormat& saved) {
    if (!saved.handle) return;
    if (saved.keep == ClipboardKeep::EnhancedMetafile) {
      DeleteEnhMetaFile(static_cast<HENHMETAFILE>(saved.handle));
    } else {
      DeleteObject(saved.handle);
    }
    saved.handle = nullptr;
  }

  std::vector<SavedFormat> formats_;
};

// Another program may hold the clipboard for a moment; once it is emptied, giving up on putting
// the user's formats back is not an option.
bool OpenClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

std::string FetchSelectedText(HWND application) {
  if (!application || (Windows() && Windows()->secureDesktop)) return {};
  SavedClipboard saved;
  if (!OpenClipboard(application)) return {};
  bool complete = saved.Save();
  if (complete) EmptyClipboard();
  CloseClipboard();
  // What cannot be put back as it was is not replaced by the selection.
  if (!complete) return {};
  // An application that does not answer is not waited for.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(application, WM_COPY, 0, 0, SMTO_ABORTIFHUNG, kCopyTimeoutMs, &ignored);
  std::u16string selected;
  if (!OpenClipboardPatiently(application)) return {};
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    selected = TextOfBlock(GlobalLock(data), GlobalSize(data));
    GlobalUnlock(data);
  }
  EmptyClipboard();
  saved.Restore();
  CloseClipboard();
  return Utf16ToGbk(selected);
}

}  // namespace tvime
