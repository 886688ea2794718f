#pragma once
// The application's input context as this input method fills it: the composition-string and
// candidate blocks, the result string, and the messages queued for the application. Every lock
// is held by a guard that releases it on every path.

#include <windows.h>

#include <string_view>
#include <vector>

#include "base/imm_ime_win.h"

namespace tvime {

// The context locked for the guard's lifetime; false when the lock failed.
class ContextLock {
 public:
  explicit ContextLock(HIMC context)
      : context_(context), fields_(context ? ImmLockIMC(context) : nullptr) {}
  ContextLock(const ContextLock&) = delete;
  ContextLock& operator=(const ContextLock&) = delete;
  ~ContextLock() {
    if (fields_) ImmUnlockIMC(context_);
  }
  explicit operator bool() const { return fields_ != nullptr; }
  INPUTCONTEXT* operator->() const { return fields_; }
  INPUTCONTEXT& operator*() const { return *fields_; }

 private:
  HIMC context_;
  INPUTCONTEXT* fields_;
};

// One of the context's memory blocks, locked as a T for the guard's lifetime.
template <typename T>
class BlockLock {
 public:
  explicit BlockLock(HIMCC block)
      : block_(block), data_(block ? static_cast<T*>(ImmLockIMCC(block)) : nullptr) {}
  BlockLock(const BlockLock&) = delete;
  BlockLock& operator=(const BlockLock&) = delete;
  ~BlockLock() {
    if (data_) ImmUnlockIMCC(block_);
  }
  explicit operator bool() const { return data_ != nullptr; }
  T* operator->() const { return data_; }
  T* get() const { return data_; }

 private:
  HIMCC block_;
  T* data_;
};

// The composition-string block: the 100-byte header, an empty composition area at 100 and the
// result area at 180, 260 bytes in all unless a long result enlarged it.
inline constexpr DWORD kCompositionBlockSize = 260;
inline constexpr DWORD kCompositionTextOffset = 100;
inline constexpr DWORD kResultTextOffset = 180;
// The candidate block: one empty list of 40 slots of 32 bytes.
inline constexpr DWORD kCandidateBlockSize = 1612;
inline constexpr DWORD kCandidateListOffset = 144;
inline constexpr int kCandidateSlots = 40;

void ResetCompositionString(COMPOSITIONSTRING* block);
void ResetCandidateInfo(CANDIDATEINFO* block);
// Lays both blocks out for a newly selected context (each one only when it can be resized and
// locked).
void PrepareContextBlocks(INPUTCONTEXT& context);

// Puts `gbk` into the result area, enlarging the block when the text does not fit; false when
// the block cannot be locked or grown.
bool SetResultString(INPUTCONTEXT& context, std::string_view gbk);

// Queues a message for the application: into the translation list while a key is being
// translated, otherwise into the context's message buffer, delivered at once.
bool QueueImeMessage(HIMC context, UINT message, WPARAM wParam, LPARAM lParam);

// Empties the result (unless kept) and the candidate list, then queues WM_IME_COMPOSITION with
// GCS_RESULTSTR and WM_IME_ENDCOMPOSITION.
bool ClearCompositionAndEnd(HIMC context, bool keepResult);

bool IsContextOpen(HIMC context);
bool ContextHasComposition(HIMC context);

// The messages of one ImeToAsciiEx call: while the scope lives, queued messages are collected;
// Deliver hands them to the platform and returns the count the call returns. When they do not
// fit the list, all of them go into the context's message buffer and the count exceeds the
// list's size, which tells the platform to look there.
class TranslationScope {
 public:
  TranslationScope();
  TranslationScope(const TranslationScope&) = delete;
  TranslationScope& operator=(const TranslationScope&) = delete;
  ~TranslationScope();
  UINT Deliver(HIMC context, TRANSMSGLIST* list);

 private:
  std::vector<TRANSMSG> messages_;
};

}  // namespace tvime
