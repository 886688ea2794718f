#pragma once
// What fetching the selection through the clipboard may do to the user's clipboard. The copy of
// the selection replaces everything on it, so every format is saved first and put back after;
// a clipboard holding something that cannot be put back as it was is left alone, and no
// selection is fetched.

#include <cstddef>
#include <span>
#include <string>

namespace tvime {

enum class ClipboardKeep {
  Bytes,             // a memory block (text, pictures as DIBs, file lists, registered formats)
  EnhancedMetafile,  // copied as a metafile
  Bitmap,            // a bitmap handle with no DIB beside it, copied as an image
  Synthesized,       // the system makes it again from another format that is kept
  Impossible,        // owner-drawn, private or GDI-object formats
};

// How `format` is kept, given every format on the clipboard.
ClipboardKeep HowToKeep(unsigned format, std::span<const unsigned> present);

// The text of a CF_UNICODETEXT block of `bytes` bytes: up to its NUL, and never past the block
// (another program's block need not end with one).
std::u16string TextOfBlock(const void* block, size_t bytes);

}  // namespace tvime
