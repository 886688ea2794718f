// tvime30.ime's exports called as no well-behaved platform would call them: on contexts that are
// missing, foreign or destroyed, and on a context whose blocks an application has scribbled over.
// Each test is one fixed pseudo-random sequence, so a failure names its seed and step and comes
// back the same way; an access violation ends the process, and the crash report names the step.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "base/imm_ime_win.h"
#include "ime/input_context_win.h"
#include "ime/test_ime_target_win.h"

namespace tvime {
namespace {

constexpr std::uint32_t kSeed = 20240611;
constexpr BYTE kGuard = 0xA5;   // in every byte the module must leave alone
constexpr UINT kListSize = 16;  // the largest translation list the platform passes
constexpr UINT kListSpare = 4;  // records behind the list, which nothing may write

// A translation list with room behind its largest size.
struct GuardedList {
  UINT uMsgCount = 0;
  TRANSMSG TransMsg[kListSize + kListSpare];
};
static_assert(offsetof(GuardedList, TransMsg) == offsetof(TRANSMSGLIST, TransMsg));

enum Block { kComposition, kCandidates, kMessages, kBlockCount };
constexpr const char* kBlockNames[kBlockCount] = {"hCompStr", "hCandInfo", "hMsgBuf"};

enum Call { kSelect, kSetActive, kNotify, kToAsciiEx, kProcessKey };

// The step running now, for the crash report, which no check gets to print.
std::string g_step;
// The input-method messages the target window got.
int g_imeMessages = 0;

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* exception) {
  std::fprintf(stderr, "exception 0x%08lX in %s\n", exception->ExceptionRecord->ExceptionCode,
               g_step.c_str());
  std::fflush(stderr);
  return EXCEPTION_CONTINUE_SEARCH;  // Wine's backtrace follows
}

// The target window's procedure here: it counts the input-method messages and reads nothing from
// the context, whose headers hold the test's garbage.
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message >= WM_IME_STARTCOMPOSITION && message <= WM_IME_KEYLAST) ||
      (message >= WM_IME_SETCONTEXT && message <= WM_IME_KEYUP)) {
    ++g_imeMessages;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

std::string Hex(std::uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%" PRIX64, value);
  return text;
}

bool AllGuard(const void* data, size_t size) {
  auto* bytes = static_cast<const BYTE*>(data);
  return std::all_of(bytes, bytes + size, [](BYTE byte) { return byte == kGuard; });
}

// The records the module sends: a result, the end of a composition, a key it gives back, and
// the news that it switched itself on or off.
bool IsModuleMessage(const TRANSMSG& r) {
  return (r.message == WM_IME_COMPOSITION && r.wParam == 0 && r.lParam == GCS_RESULTSTR) ||
         (r.message == WM_IME_ENDCOMPOSITION && r.wParam == 0 && r.lParam == 0) ||
         (r.message == WM_IME_KEYDOWN && r.wParam < 256 && r.lParam == 0) ||
         (r.message == WM_IME_NOTIFY && r.wParam == IMN_SETOPENSTATUS && r.lParam == 0);
}

HIMCC& BlockSlot(INPUTCONTEXT& fields, int block) {
  if (block == kComposition) return fields.hCompStr;
  return block == kCandidates ? fields.hCandInfo : fields.hMsgBuf;
}

// Puts a new block of `size` bytes into the slot instead of the one there.
HIMCC Replace(HIMCC& slot, DWORD size) {
  if (slot) ImmDestroyIMCC(slot);
  slot = ImmCreateIMCC(size);
  return slot;
}

class HostileInputTest : public testing::ImeModuleFixture {
 protected:
  // The UI window is open as the platform opens it: the module then has a panel to show, hide and
  // move, which a call on someone else's context must not do.
  HostileInputTest() { openPanel = true; }

  void SetUp() override {
    settings.Write(setting::MovedByCursor, 1);  // the caret is followed on every notification
    ImeModuleFixture::SetUp();
    if (HasFatalFailure()) return;
    SetWindowLongPtrW(target.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc));

    destroyedContext = ImmCreateContext();
    ASSERT_TRUE(destroyedContext);
    ImmDestroyContext(destroyedContext);
    ASSERT_FALSE(ImmLockIMC(destroyedContext));
    goneWindow = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
    DestroyWindow(goneWindow);
    previousFilter = SetUnhandledExceptionFilter(ReportCrash);
  }

  void TearDown() override {
    SetUnhandledExceptionFilter(previousFilter);
    // The context is destroyed with blocks the platform can free.
    if (ime && ime->select) MakeSane();
    ImeModuleFixture::TearDown();
  }

  // --- Chance ---

  std::uint32_t Random(std::uint32_t bound) { return rng() % bound; }
  template <typename T, size_t N>
  T Pick(const T (&values)[N]) {
    return values[Random(N)];
  }

  // A size, offset, length or count that ends in the wrong place: nowhere, a byte in, around
  // `end` (the end of what it describes), at or past `layoutEnd` (the end of the module's layout:
  // in a bigger block, inside the guard), where 32 bits wrap, far past any block, or anywhere.
  DWORD HostileValue(DWORD end, DWORD layoutEnd) {
    DWORD pastLayout = end > layoutEnd ? layoutEnd + Random(end - layoutEnd) : layoutEnd + 1;
    const DWORD values[] = {0,          1,          2,          end / 2,    end - 1,    end,
                            end + 1,    layoutEnd,  pastLayout, pastLayout, 0x0AAAAAAB, 0x7FFFFFFF,
                            0x80000000, 0xFFFFFFF0, 0xFFFFFFFF, rng()};
    return Pick(values);
  }

  // A block's size: two times in five one with room past the module's layout, where the guard
  // goes; otherwise the layout's own size or one that is too small.
  template <size_t N>
  DWORD HostileSize(DWORD layout, const DWORD (&tooSmall)[N]) {
    if (Random(5) < 2) return Random(2) == 0 ? layout + 64 : 4 * layout;
    return Random(4) == 0 ? layout : Pick(tooSmall);
  }

  // Null, a value the platform never handed out, a window's handle, or a destroyed context.
  HIMC InvalidContext(std::string& name) {
    HIMC context = nullptr;
    switch (Random(4)) {
      case 0:
        name = "null";
        return nullptr;
      case 1: {
        std::uint64_t high = rng();
        std::uint64_t value = (high << 32) | rng();
        const std::uint64_t values[] = {value, value & 0xFFFFFFFF, 1, 0xFFFF,
                                        reinterpret_cast<std::uintptr_t>(foreignBytes.data())};
        value = Pick(values);
        name = "foreign " + Hex(value);
        context = reinterpret_cast<HIMC>(static_cast<std::uintptr_t>(value));
        break;
      }
      case 2: {
        const HWND windows[] = {target.window, ui, panel, GetDesktopWindow(), goneWindow};
        HWND window = Pick(windows);
        name = "window " + Hex(reinterpret_cast<std::uintptr_t>(window));
        context = reinterpret_cast<HIMC>(window);
        break;
      }
      default:
        name = "destroyed";
        context = destroyedContext;
        break;
    }
    // A value the platform happens to know as a context is no foreign one.
    if (ImmLockIMC(context)) {
      ImmUnlockIMC(context);
      name = "null";
      return nullptr;
    }
    return context;
  }

  // Random keys: a s d f g (strokes), other letters, digits, the editing keys, the modifiers,
  // punctuation, keys the module never takes, and anything at all.
  UINT RandomVirtualKey() {
    const UINT keys[] = {'A',      'S',        'D',       'F',          'G',
                         'H',      'Z',        '0',       '1',          '5',
                         '9',      VK_BACK,    VK_RETURN, VK_ESCAPE,    VK_SPACE,
                         VK_SHIFT, VK_CONTROL, VK_MENU,   VK_OEM_COMMA, VK_OEM_PERIOD,
                         VK_OEM_7, VK_NUMPAD3, VK_LEFT,   VK_DELETE,    VK_F1,
                         0,        0xFF,       rng(),     rng() & 0xFF, rng() & 0xFFFF};
    UINT key = Pick(keys);
    // With IME_PROP_KBD_CHAR_FIRST the typed character rides in bits 8-15.
    if (key >= 'A' && key <= 'Z' && Random(2) == 0) key |= (key - 'A' + 'a') << 8;
    return key;
  }

  // Null, no key down, a modifier or two held, or every byte random.
  const BYTE* RandomKeyState() {
    std::memset(keyState, 0, sizeof keyState);
    switch (Random(4)) {
      case 0:
        return nullptr;
      case 1:
        for (int key : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
          if (Random(3) == 0) keyState[key] = 0x80;
        }
        return keyState;
      case 2:
        for (BYTE& byte : keyState) byte = static_cast<BYTE>(rng());
        return keyState;
      default:
        return keyState;
    }
  }

  // --- The window's context ---

  // As a freshly selected context: the module's own blocks, no messages waiting, its window,
  // open.
  void MakeSane() {
    {
      ContextLock fields(target.context);
      if (!fields) return;
      fields->hWnd = target.window;
      fields->dwNumMsgBuf = 0;
    }
    ime->select(target.context, TRUE);
    damage.clear();
  }

  // Damages the context as a hostile application could.
  void Damage() {
    using Damager = std::string (HostileInputTest::*)(INPUTCONTEXT&);
    static constexpr Damager kDamagers[] = {
        &HostileInputTest::ReplaceCompositionString, &HostileInputTest::ReplaceCandidateInfo,
        &HostileInputTest::ReplaceMessageBuffer,     &HostileInputTest::DropBlock,
        &HostileInputTest::ScribbleOverBlock,        &HostileInputTest::ScribbleOverFields};
    std::string what;
    {
      ContextLock fields(target.context);
      if (!fields) return;
      what = (this->*Pick(kDamagers))(*fields);
    }
    damage = damage.empty() ? what : damage + "; " + what;
    // The failure message names the latest damage, each whole.
    if (damage.size() > 600) {
      size_t cut = damage.find("; ", damage.size() - 600);
      damage.erase(0, cut == std::string::npos ? 0 : cut + 2);
    }
  }

  // Overwrites a few of the DWORD fields [first, last) that lie inside the block's `size` bytes
  // with values around `end` and `layoutEnd`.
  std::string Scribble(void* data, DWORD size, DWORD first, DWORD last, DWORD end,
                       DWORD layoutEnd) {
    std::string what;
    last = std::min(last, size / 4);
    if (first >= last) return what;
    for (int count = 1 + static_cast<int>(Random(4)); count > 0; --count) {
      DWORD field = first + Random(last - first);
      DWORD value = HostileValue(end, layoutEnd);
      static_cast<DWORD*>(data)[field] = value;
      what += " @" + std::to_string(4 * field) + "=" + Hex(value);
    }
    return what;
  }

  // A block of the wrong size, laid out as the module lays it out when it is big enough for
  // that, then with a few header fields pointing elsewhere.
  std::string ReplaceCompositionString(INPUTCONTEXT& fields) {
    const DWORD tooSmall[] = {0, 1, 4, 99, 100, 101, 180, kCompositionBlockSize - 1};
    DWORD size = HostileSize(kCompositionBlockSize, tooSmall);
    std::string what = "hCompStr of " + std::to_string(size) + " bytes";
    BlockLock<COMPOSITIONSTRING> data(Replace(fields.hCompStr, size));
    if (!data) return what;
    if (size >= kCompositionBlockSize) ResetCompositionString(data.get());
    return what + Scribble(data.get(), size, 0, sizeof(COMPOSITIONSTRING) / 4, size,
                           kCompositionBlockSize);
  }

  std::string ReplaceCandidateInfo(INPUTCONTEXT& fields) {
    constexpr DWORD listAt = kCandidateListOffset;
    const DWORD tooSmall[] = {
        0, 1, 4, listAt - 1, listAt, listAt + sizeof(CANDIDATELIST), kCandidateBlockSize - 1};
    DWORD size = HostileSize(kCandidateBlockSize, tooSmall);
    std::string what = "hCandInfo of " + std::to_string(size) + " bytes";
    BlockLock<CANDIDATEINFO> data(Replace(fields.hCandInfo, size));
    if (!data) return what;
    if (size >= kCandidateBlockSize) ResetCandidateInfo(data.get());
    // The list's fields count from the list's start.
    constexpr DWORD kList = kCandidateListOffset / 4;
    constexpr DWORD kListLayoutEnd = kCandidateBlockSize - kCandidateListOffset;
    DWORD listEnd = size > kCandidateListOffset ? size - kCandidateListOffset : 0;
    switch (Random(3)) {
      case 0:
        return what +
               Scribble(data.get(), size, 0, sizeof(CANDIDATEINFO) / 4, size, kCandidateBlockSize);
      case 1:  // the list's header
        return what + " list" +
               Scribble(data.get(), size, kList, kList + 6, listEnd, kListLayoutEnd);
      default:  // the offsets of its first slots
        return what + " slots" +
               Scribble(data.get(), size, kList + 6, kList + 10, listEnd, kListLayoutEnd);
    }
  }

  std::string ReplaceMessageBuffer(INPUTCONTEXT& fields) {
    constexpr DWORD record = sizeof(TRANSMSG);
    const DWORD tooSmall[] = {0, 1, record - 1, record, 3 * record, 3 * record + 7};
    DWORD size = HostileSize(16 * sizeof(TRANSMSG), tooSmall);
    Replace(fields.hMsgBuf, size);
    DWORD held = size / sizeof(TRANSMSG);
    const DWORD counts[] = {0, 1, held, held + 1, 1000, HostileValue(held, held)};
    fields.dwNumMsgBuf = Pick(counts);
    return "hMsgBuf of " + std::to_string(size) + " bytes, dwNumMsgBuf " + Hex(fields.dwNumMsgBuf);
  }

  std::string DropBlock(INPUTCONTEXT& fields) {
    int block = static_cast<int>(Random(kBlockCount));
    HIMCC& slot = BlockSlot(fields, block);
    if (slot) ImmDestroyIMCC(slot);
    slot = nullptr;
    if (block == kMessages) {
      const DWORD counts[] = {0, 1, 1000};
      fields.dwNumMsgBuf = Pick(counts);
    }
    return std::string(kBlockNames[block]) + " null, dwNumMsgBuf " + Hex(fields.dwNumMsgBuf);
  }

  // The header of the block in place (often the module's own) pointing elsewhere.
  std::string ScribbleOverBlock(INPUTCONTEXT& fields) {
    int block = static_cast<int>(Random(2));
    HIMCC handle = BlockSlot(fields, block);
    DWORD size = handle ? ImmGetIMCCSize(handle) : 0;
    BlockLock<DWORD> data(handle);
    if (!data) return std::string(kBlockNames[block]) + " unlockable";
    DWORD end = block == kComposition ? sizeof(COMPOSITIONSTRING) / 4
                                      : (kCandidateListOffset + sizeof(CANDIDATELIST)) / 4 + 1;
    DWORD layoutEnd = block == kComposition ? kCompositionBlockSize : kCandidateBlockSize;
    return std::string(kBlockNames[block]) + " in place" +
           Scribble(data.get(), size, 0, end, size, layoutEnd);
  }

  std::string ScribbleOverFields(INPUTCONTEXT& fields) {
    switch (Random(4)) {
      case 0: {
        const BOOL states[] = {FALSE, TRUE, 2, static_cast<BOOL>(0x80000000)};
        fields.fOpen = Pick(states);
        return "fOpen " + Hex(static_cast<DWORD>(fields.fOpen));
      }
      case 1: {
        auto garbage =
            reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x5EAD0000 | Random(0x10000)));
        const HWND windows[] = {target.window, nullptr, goneWindow, garbage};
        fields.hWnd = Pick(windows);
        if (fields.hWnd != target.window && IsWindow(fields.hWnd)) fields.hWnd = nullptr;
        return "hWnd " + Hex(reinterpret_cast<std::uintptr_t>(fields.hWnd));
      }
      case 2: {
        DWORD held = ImmGetIMCCSize(fields.hMsgBuf) / sizeof(TRANSMSG);
        fields.dwNumMsgBuf = HostileValue(held, held);
        return "dwNumMsgBuf " + Hex(fields.dwNumMsgBuf);
      }
      default: {
        const DWORD styles[] = {CFS_DEFAULT,      CFS_POINT,   CFS_RECT,
                                CFS_CANDIDATEPOS, CFS_EXCLUDE, rng()};
        fields.fdwInit = rng();
        fields.cfCompForm.dwStyle = Pick(styles);
        fields.cfCompForm.ptCurrentPos = {static_cast<LONG>(rng()), static_cast<LONG>(rng())};
        fields.cfCandForm[0].dwStyle = Pick(styles);
        fields.cfCandForm[0].ptCurrentPos = {static_cast<LONG>(rng()), static_cast<LONG>(rng())};
        return "fdwInit " + Hex(fields.fdwInit) + " and the composition and candidate forms";
      }
    }
  }

  // --- Guards ---

  // Where the bytes begin that the module has no business writing: in the composition string,
  // past both its layout and the size the header claims (a long result grows the two together);
  // in the candidates, past its layout; in the buffer, past the messages waiting there.
  static DWORD ForeignFrom(int block, const INPUTCONTEXT& fields, HIMCC handle, DWORD size) {
    switch (block) {
      case kComposition: {
        DWORD claimed = 0;
        if (size >= sizeof(DWORD)) {
          BlockLock<DWORD> data(handle);
          if (data) claimed = data.get()[0];
        }
        return std::min(size, std::max(kCompositionBlockSize, claimed));
      }
      case kCandidates:
        return std::min(size, kCandidateBlockSize);
      default:
        return static_cast<DWORD>(
            std::min<std::uint64_t>(size, std::uint64_t{fields.dwNumMsgBuf} * sizeof(TRANSMSG)));
    }
  }

  // Fills each block's foreign bytes with the guard.
  void ArmGuards() {
    ContextLock fields(target.context);
    ASSERT_TRUE(fields);
    for (int block = 0; block < kBlockCount; ++block) {
      HIMCC handle = BlockSlot(*fields, block);
      DWORD size = handle ? ImmGetIMCCSize(handle) : 0;
      DWORD from = ForeignFrom(block, *fields, handle, size);
      guards[block] = {handle, size, from};
      if (from >= size) continue;
      BlockLock<BYTE> data(handle);
      if (data) std::memset(data.get() + from, kGuard, size - from);
    }
    messagesBefore = g_imeMessages;
    bufferedBefore = fields->dwNumMsgBuf;
  }

  void ExpectGuardsIntact() {
    ContextLock fields(target.context);
    ASSERT_TRUE(fields) << Where();
    for (int block = 0; block < kBlockCount; ++block) {
      const Guard& guard = guards[block];
      HIMCC handle = BlockSlot(*fields, block);
      // A block the module resized or replaced through the platform is a new block.
      if (guard.from >= guard.size || handle != guard.handle ||
          ImmGetIMCCSize(handle) != guard.size) {
        continue;
      }
      // Messages the platform has delivered leave no count in the buffer to measure by.
      if (block == kMessages && g_imeMessages != messagesBefore) continue;
      DWORD from = std::max(guard.from, ForeignFrom(block, *fields, handle, guard.size));
      BlockLock<BYTE> data(handle);
      ASSERT_TRUE(data) << Where();
      for (DWORD at = from; at < guard.size; ++at) {
        if (data.get()[at] != kGuard) {
          ADD_FAILURE() << kBlockNames[block] << " of " << guard.size << " bytes written at byte "
                        << at << " (its foreign bytes begin at " << from << ")" << Where();
          break;
        }
      }
    }
    if (fields->dwNumMsgBuf != bufferedBefore) {
      EXPECT_LE(std::uint64_t{fields->dwNumMsgBuf} * sizeof(TRANSMSG),
                ImmGetIMCCSize(fields->hMsgBuf))
          << "more messages counted than the buffer holds" << Where();
    }
  }

  // --- Calls ---

  void Note(const std::string& call, const std::string& context) {
    g_step = "seed " + std::to_string(kSeed) + ", step " + std::to_string(step) + ": " + call +
             " on the " + context + " context";
    if (!damage.empty()) g_step += "; the window's context: " + damage;
  }
  std::string Where() const { return "\n  at " + g_step; }

  // One export, picked at random, on `context` with random arguments.
  UINT CallRandomExport(HIMC context, const std::string& name) {
    // The calls that write most, most often; ImeSelect least, since it repairs the blocks.
    const Call calls[] = {kSelect,    kSetActive, kNotify,     kNotify,     kToAsciiEx, kToAsciiEx,
                          kToAsciiEx, kToAsciiEx, kProcessKey, kProcessKey, kProcessKey};
    call = Pick(calls);
    switch (call) {
      case kSelect: {
        BOOL selected = Random(2);
        Note("ImeSelect(" + std::to_string(selected) + ")", name);
        return ime->select(context, selected);
      }
      case kSetActive: {
        BOOL active = Random(2);
        Note("ImeSetActiveContext(" + std::to_string(active) + ")", name);
        return ime->setActive(context, active);
      }
      case kNotify: {
        const DWORD actions[] = {NI_CONTEXTUPDATED,      NI_CONTEXTUPDATED,
                                 NI_COMPOSITIONSTR,      NI_OPENCANDIDATE,
                                 NI_CLOSECANDIDATE,      NI_SELECTCANDIDATESTR,
                                 NI_CHANGECANDIDATELIST, NI_SETCANDIDATE_PAGESTART,
                                 NI_IMEMENUSELECTED,     rng()};
        const DWORD indexes[] = {0, CPS_COMPLETE, CPS_CONVERT, CPS_CANCEL, rng()};
        // Every update code up to IMC_OPENSTATUSWINDOW, the open state most, and anything.
        const DWORD values[] = {IMC_SETOPENSTATUS, IMC_SETOPENSTATUS, Random(0x23), rng()};
        DWORD action = Pick(actions);
        DWORD index = Pick(indexes);
        DWORD value = Pick(values);
        Note("NotifyIME(" + Hex(action) + ", " + Hex(index) + ", " + Hex(value) + ")", name);
        return ime->notify(context, action, index, value);
      }
      case kToAsciiEx: {
        std::memset(list.TransMsg, kGuard, sizeof list.TransMsg);
        list.uMsgCount = Random(kListSize + 1);
        listGiven = Random(6) != 0;
        UINT key = RandomVirtualKey();
        UINT scanCode = Random(0x100);
        if (Random(3) == 0) scanCode |= 0x8000;  // a release
        const BYTE* state = RandomKeyState();
        Note("ImeToAsciiEx(" + Hex(key) + ", scan " + Hex(scanCode) +
                 (state ? "" : ", null key state") + ", " +
                 (listGiven ? "a list of " + std::to_string(list.uMsgCount) : "no list") + ")",
             name);
        return ime->toAsciiEx(key, scanCode, state,
                              listGiven ? reinterpret_cast<TRANSMSGLIST*>(&list) : nullptr, 0,
                              context);
      }
      case kProcessKey: {
        const LPARAM data[] = {1, static_cast<LPARAM>(0xC0000001u), static_cast<LPARAM>(rng())};
        UINT key = RandomVirtualKey();
        LPARAM keyData = Pick(data);
        const BYTE* state = RandomKeyState();
        // A lone Ctrl tap (its release, nothing held) switches the context on or off, and
        // switching it off empties the composition and the candidate list.
        if (Random(2) == 0) {
          key = VK_CONTROL;
          keyData = static_cast<LPARAM>(0xC0000001u);
          if (state) std::memset(keyState, 0, sizeof keyState);
        }
        Note("ImeProcessKey(" + Hex(key) + ", " + Hex(static_cast<std::uint64_t>(keyData)) +
                 (state ? "" : ", null key state") + ")",
             name);
        return ime->processKey(context, key, keyData, state);
      }
    }
    return 0;
  }

  // ImeToAsciiEx returns the records it put into the list, or, when they do not fit, a count
  // larger than the list with all of them waiting in the context's buffer. Nothing else in the
  // list changes.
  void ExpectTranslationPlaced(UINT count, bool validContext) {
    UINT size = listGiven ? list.uMsgCount : 0;
    UINT placed = count <= size ? count : 0;
    bool resultAnnounced = false;
    for (UINT at = 0; at < kListSize + kListSpare; ++at) {
      if (at < placed) {
        ASSERT_TRUE(IsModuleMessage(list.TransMsg[at]))
            << "record " << at << " of " << count << " is no message of the module" << Where();
        resultAnnounced |= list.TransMsg[at].message == WM_IME_COMPOSITION;
      } else {
        ASSERT_TRUE(AllGuard(&list.TransMsg[at], sizeof(TRANSMSG)))
            << "record " << at << " written; the list holds " << size << ", the count is " << count
            << Where();
      }
    }
    if (!validContext) {
      EXPECT_EQ(count, 0u) << Where();
      return;
    }
    ContextLock fields(target.context);
    ASSERT_TRUE(fields) << Where();
    if (resultAnnounced) {
      // An announced result lies inside its block.
      DWORD blockSize = ImmGetIMCCSize(fields->hCompStr);
      BlockLock<COMPOSITIONSTRING> composition(fields->hCompStr);
      ASSERT_TRUE(composition && blockSize >= sizeof(COMPOSITIONSTRING)) << Where();
      EXPECT_LE(std::uint64_t{composition->dwResultStrOffset} + composition->dwResultStrLen,
                blockSize)
          << Where();
    }
    if (count > size) {
      ASSERT_GE(fields->dwNumMsgBuf, count) << Where();
      ASSERT_LE(std::uint64_t{fields->dwNumMsgBuf} * sizeof(TRANSMSG),
                ImmGetIMCCSize(fields->hMsgBuf))
          << Where();
      BlockLock<TRANSMSG> buffer(fields->hMsgBuf);
      ASSERT_TRUE(buffer) << Where();
      for (UINT at = fields->dwNumMsgBuf - count; at < fields->dwNumMsgBuf; ++at) {
        ASSERT_TRUE(IsModuleMessage(buffer.get()[at]))
            << "buffered record " << at << " is no message of the module" << Where();
      }
      fields->dwNumMsgBuf = 0;  // the platform has read them
    }
  }

  // Everything the test can see a call change: the window's context with its blocks, the
  // messages the window got, the panel's place and visibility, the foreign bytes.
  std::string Observe() {
    std::string seen;
    auto add = [&seen](const void* data, size_t size) {
      seen.append(static_cast<const char*>(data), size);
    };
    {
      ContextLock fields(target.context);
      if (fields) {
        add(&*fields, sizeof(INPUTCONTEXT));
        for (int block = 0; block < kBlockCount; ++block) {
          HIMCC handle = BlockSlot(*fields, block);
          DWORD size = handle ? ImmGetIMCCSize(handle) : 0;
          add(&size, sizeof size);
          BlockLock<char> data(handle);
          if (data) add(data.get(), size);
        }
      }
    }
    add(&g_imeMessages, sizeof g_imeMessages);
    RECT rect{};
    GetWindowRect(panel, &rect);
    add(&rect, sizeof rect);
    BOOL visible = IsWindowVisible(panel);
    add(&visible, sizeof visible);
    add(foreignBytes.data(), foreignBytes.size());
    return seen;
  }

  // A call on a context that is not one answers FALSE or 0 and changes nothing. ImeSelect and
  // ImeSetActiveContext answer TRUE whatever the context: the platform goes on either way.
  void CallOnInvalidContext() {
    std::string name;
    HIMC context = InvalidContext(name);
    std::string before = Observe();
    UINT result = CallRandomExport(context, name);
    if (call != kSelect && call != kSetActive) {
      EXPECT_EQ(result, 0u) << Where();
    }
    if (call == kToAsciiEx) ExpectTranslationPlaced(result, false);
    EXPECT_TRUE(Observe() == before)
        << "the call changed the window's context, its messages or the panel" << Where();
  }

  void CallOnValidContext() {
    ArmGuards();
    UINT result = CallRandomExport(target.context, "window's");
    ExpectGuardsIntact();
    if (call == kToAsciiEx) {
      ExpectTranslationPlaced(result, true);
    } else if (call == kNotify || call == kProcessKey) {
      EXPECT_LE(result, 1u) << Where();
    }
  }

  HIMC destroyedContext = nullptr;
  HWND goneWindow = nullptr;
  // Memory of the test's own, passed as a context: the platform must not take it for one.
  std::vector<BYTE> foreignBytes = std::vector<BYTE>(sizeof(INPUTCONTEXT) + 64, kGuard);
  LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;

  std::mt19937 rng{kSeed};
  int step = 0;
  std::string damage;  // what was done to the window's context since it was last made sane
  Call call = kSelect;
  BYTE keyState[256] = {};
  GuardedList list;
  bool listGiven = false;

  struct Guard {
    HIMCC handle = nullptr;
    DWORD size = 0;
    DWORD from = 0;  // the first foreign byte
  };
  Guard guards[kBlockCount];
  int messagesBefore = 0;
  DWORD bufferedBefore = 0;
};

TEST_F(HostileInputTest, InvalidContextsFailOpen) {
  for (step = 0; step < 2000 && !HasFailure(); ++step) {
    // The window's context is damaged now and then as well: it must stay as it is all the same.
    if (Random(10) == 0) Damage();
    CallOnInvalidContext();
  }
}

TEST_F(HostileInputTest, CorruptBlocksAreNeverWrittenOutOfBounds) {
  for (step = 0; step < 5000 && !HasFailure(); ++step) {
    if (Random(40) == 0) MakeSane();
    if (Random(3) == 0) Damage();
    CallOnValidContext();
  }
}

TEST_F(HostileInputTest, RandomCallSequencesNeverCrash) {
  for (step = 0; step < 4000 && !HasFailure(); ++step) {
    if (Random(5) == 0) Damage();
    if (Random(3) == 0) {
      CallOnInvalidContext();
    } else {
      CallOnValidContext();
    }
  }
}

}  // namespace
}  // namespace tvime
