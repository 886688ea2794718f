#include "ime/input_context_win.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace tvime {
namespace {

// The messages of the running ImeToAsciiEx call, or none outside one.
// Per thread: another GUI thread's messages never go into this thread's translation list.
thread_local std::vector<TRANSMSG>* g_translation = nullptr;

char* BlockBytes(void* block) { return static_cast<char*>(block); }

CANDIDATELIST* ListOf(CANDIDATEINFO* block) {
  return reinterpret_cast<CANDIDATELIST*>(BlockBytes(block) + kCandidateListOffset);
}

// A slot's text, or null when its offset, which the application can overwrite like any byte of
// the block, points outside the list as this module lays it out.
char* CandidateSlot(CANDIDATEINFO* block, int slot) {
  CANDIDATELIST* list = ListOf(block);
  if (list->dwOffset[slot] >= kCandidateBlockSize - kCandidateListOffset) return nullptr;
  return BlockBytes(list) + list->dwOffset[slot];
}

// Resizes a block of the context to at least `size` bytes; the handle may change.
bool EnsureBlockSize(HIMCC& block, DWORD size) {
  if (block && ImmGetIMCCSize(block) >= size) return true;
  HIMCC resized = block ? ImmReSizeIMCC(block, size) : ImmCreateIMCC(size);
  if (!resized) return false;
  block = resized;
  return true;
}

// A resize to the layout's size also takes back a block that a long result enlarged.
bool ResizeBlock(HIMCC& block, DWORD size) {
  HIMCC resized = block ? ImmReSizeIMCC(block, size) : ImmCreateIMCC(size);
  if (!resized) return false;
  block = resized;
  return true;
}

// Appends messages to the context's own buffer; the platform delivers them at once.
bool AppendToMessageBuffer(HIMC context, INPUTCONTEXT& fields, const TRANSMSG* messages,
                           DWORD count, bool generate) {
  // A count larger than the buffer holds was not written by anyone who filled the buffer: the
  // messages it counts cannot be read, and appending behind them would write past the block
  // (or, once the size wraps at 32 bits, past a block that is never grown).
  DWORD held = ImmGetIMCCSize(fields.hMsgBuf) / sizeof(TRANSMSG);
  DWORD pending = fields.dwNumMsgBuf <= held ? fields.dwNumMsgBuf : 0;
  std::uint64_t bytes = (std::uint64_t{pending} + count) * sizeof(TRANSMSG);
  if (bytes > MAXDWORD || !EnsureBlockSize(fields.hMsgBuf, static_cast<DWORD>(bytes))) {
    return false;
  }
  {
    BlockLock<TRANSMSG> buffer(fields.hMsgBuf);
    if (!buffer) return false;
    std::copy_n(messages, count, buffer.get() + pending);
  }
  fields.dwNumMsgBuf = pending + count;
  if (generate) ImmGenerateMessage(context);
  return true;
}

}  // namespace

void ResetCompositionString(COMPOSITIONSTRING* block) {
  std::memset(block, 0, kCompositionBlockSize);
  block->dwSize = kCompositionBlockSize;
  block->dwCompStrOffset = kCompositionTextOffset;
  block->dwResultStrOffset = kResultTextOffset;
}

void ResetCandidateInfo(CANDIDATEINFO* block) {
  std::memset(block, 0, kCandidateBlockSize);
  block->dwSize = kCandidateBlockSize;
  block->dwCount = 1;
  block->dwOffset[0] = kCandidateListOffset;
  CANDIDATELIST* list = ListOf(block);
  list->dwSize = kCandidateBlockSize - kCandidateListOffset;
  constexpr DWORD kFirstSlot = 188;  // behind the list header and its 40 offsets
  for (int slot = 0; slot < kCandidateSlots; ++slot) list->dwOffset[slot] = kFirstSlot + 32 * slot;
}

void PrepareContextBlocks(INPUTCONTEXT& context) {
  if (ResizeBlock(context.hCompStr, kCompositionBlockSize)) {
    BlockLock<COMPOSITIONSTRING> block(context.hCompStr);
    if (block) ResetCompositionString(block.get());
  }
  if (ResizeBlock(context.hCandInfo, kCandidateBlockSize)) {
    BlockLock<CANDIDATEINFO> block(context.hCandInfo);
    if (block) ResetCandidateInfo(block.get());
  }
}

bool SetResultString(INPUTCONTEXT& context, std::string_view gbk) {
  // A long commit grows the block rather than being cut or written past its end.
  DWORD needed = kResultTextOffset + static_cast<DWORD>(gbk.size()) + 1;
  if (!EnsureBlockSize(context.hCompStr, std::max(needed, kCompositionBlockSize))) return false;
  BlockLock<COMPOSITIONSTRING> block(context.hCompStr);
  if (!block) return false;
  if (block->dwSize < needed) block->dwSize = needed;
  block->dwResultStrOffset = kResultTextOffset;
  char* result = BlockBytes(block.get()) + kResultTextOffset;
  std::memcpy(result, gbk.data(), gbk.size());
  result[gbk.size()] = '\0';
  block->dwResultStrLen = static_cast<DWORD>(gbk.size());
  return true;
}

bool QueueImeMessage(HIMC context, UINT message, WPARAM wParam, LPARAM lParam) {
  ContextLock fields(context);
  if (!fields) return false;
  TRANSMSG record{message, wParam, lParam};
  if (g_translation) {
    g_translation->push_back(record);
    return true;
  }
  if (!IsWindow(fields->hWnd)) return true;
  return AppendToMessageBuffer(context, *fields, &record, 1, true);
}

bool ClearCompositionAndEnd(HIMC context, bool keepResult) {
  ContextLock fields(context);
  if (!fields) return false;
  {
    BlockLock<COMPOSITIONSTRING> composition(fields->hCompStr);
    BlockLock<CANDIDATEINFO> candidates(fields->hCandInfo);
    bool laidOut = composition && ImmGetIMCCSize(fields->hCompStr) >= kCompositionBlockSize;
    if (laidOut && !keepResult) {
      BlockBytes(composition.get())[kResultTextOffset] = '\0';
      composition->dwResultStrLen = 0;
    }
    if (laidOut) composition->dwCompStrLen = 0;
    if (candidates && ImmGetIMCCSize(fields->hCandInfo) >= kCandidateBlockSize) {
      ListOf(candidates.get())->dwCount = 0;
      for (int slot : {0, 1}) {
        if (char* text = CandidateSlot(candidates.get(), slot)) text[0] = '\0';
      }
    }
  }
  QueueImeMessage(context, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  QueueImeMessage(context, WM_IME_ENDCOMPOSITION, 0, 0);
  return true;
}

bool IsContextOpen(HIMC context) {
  ContextLock fields(context);
  return fields && fields->fOpen;
}

bool ContextHasComposition(HIMC context) {
  ContextLock fields(context);
  if (!fields || ImmGetIMCCSize(fields->hCompStr) < sizeof(COMPOSITIONSTRING)) return false;
  BlockLock<COMPOSITIONSTRING> block(fields->hCompStr);
  return block && block->dwCompStrLen != 0;
}

TranslationScope::TranslationScope() { g_translation = &messages_; }

TranslationScope::~TranslationScope() {
  if (g_translation == &messages_) g_translation = nullptr;
}

UINT TranslationScope::Deliver(HIMC context, TRANSMSGLIST* list) {
  g_translation = nullptr;
  auto count = static_cast<UINT>(messages_.size());
  if (count == 0) return 0;
  if (list && count <= list->uMsgCount) {
    std::copy(messages_.begin(), messages_.end(), list->TransMsg);
    return count;
  }
  // The list is too small: the platform reads the messages from the context's buffer when the
  // count is larger than the list.
  ContextLock fields(context);
  if (!fields || !AppendToMessageBuffer(context, *fields, messages_.data(), count, false)) {
    return 0;
  }
  return count;
}

}  // namespace tvime
