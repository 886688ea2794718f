#include "gui/gui_host_win.h"

#include <string>

#include "base/gbk.h"
#include "base/registry_key_win.h"
#include "base/wide_text_win.h"
#include "gui/event_trace_win.h"
#include "gui/text_delivery.h"
#include "session/command_id.h"

namespace tvime {
namespace {

// Borrows the foreground thread's input state for one delivery, so that GetFocus sees its
// focused control; released on every path.
class ForegroundInput {
 public:
  ForegroundInput() {
    HWND foreground = GetForegroundWindow();
    thread_ = foreground ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    attached_ = thread_ && thread_ != GetCurrentThreadId() &&
                AttachThreadInput(GetCurrentThreadId(), thread_, TRUE);
  }
  ForegroundInput(const ForegroundInput&) = delete;
  ForegroundInput& operator=(const ForegroundInput&) = delete;
  ~ForegroundInput() {
    if (attached_) AttachThreadInput(GetCurrentThreadId(), thread_, FALSE);
  }
  HWND Focus() const { return GetFocus(); }

 private:
  DWORD thread_ = 0;
  bool attached_ = false;
};

}  // namespace

std::uint32_t PreloadedChineseLayout() {
  std::vector<std::string> texts;
  RegistryKey key(HKEY_CURRENT_USER, "Keyboard Layout\\Preload", KEY_READ);
  for (DWORD index = 0; key; ++index) {
    char name[64], data[64];
    DWORD nameSize = sizeof name, dataSize = sizeof data - 1, type = 0;
    if (RegEnumValueA(key.get(), index, name, &nameSize, nullptr, &type,
                      reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS) {
      break;
    }
    if (type == REG_SZ) texts.emplace_back(data, strnlen(data, dataSize));
  }
  return FindChineseLayout(std::vector<std::string_view>(texts.begin(), texts.end()));
}

bool DeliverText(std::string_view gbk, Delivery* delivered) {
  if (!gbk.empty() && gbk[0] == '\b') return false;
  ForegroundInput input;
  HWND focus = input.Focus();
  if (!focus) {
    OutputDebugStringA("-ERR: Can't find GetFocus()\n");
    return false;
  }
  Delivery delivery{focus, IsWindowUnicode(focus) != FALSE, PreloadedChineseLayout(), {}};
  TraceEvent("deliver", static_cast<long long>(gbk.size()));
  if (delivery.unicode) {
    // As long as the text is: a long commit is not cut or lost.
    std::u16string text = GbkToUtf16(gbk);
    delivery.characters.assign(text.begin(), text.end());
    SendMessageW(focus, WM_INPUTLANGCHANGEREQUEST, 0, delivery.layout);
    for (std::uint16_t unit : delivery.characters) PostMessageW(focus, WM_CHAR, unit, 1);
  } else {
    delivery.characters = AnsiImeChars(gbk);
    SendMessageA(focus, WM_INPUTLANGCHANGEREQUEST, 0, delivery.layout);
    for (std::uint16_t character : delivery.characters) {
      PostMessageA(focus, WM_IME_CHAR, character, 0);
    }
  }
  if (delivered) *delivered = delivery;
  return true;
}

void DeliverKey(unsigned virtualKey) {
  ForegroundInput input;
  HWND focus = input.Focus();
  if (!focus) return;
  TraceEvent("key", virtualKey);
  if (IsWindowUnicode(focus)) {
    PostMessageW(focus, WM_KEYDOWN, virtualKey, 0);
  } else {
    PostMessageA(focus, WM_IME_KEYDOWN, virtualKey, 0);
  }
}

void GuiSessionHost::Commit(ContextHandle, std::string_view text) { DeliverText(text); }

void GuiSessionHost::ReturnKey(ContextHandle, unsigned virtualKey) { DeliverKey(virtualKey); }

void GuiSessionHost::PanelChanged(ContextHandle context) {
  InvalidateRect(reinterpret_cast<HWND>(context), nullptr, FALSE);
}

int ProgramMessageBox(std::string_view utf8Text, std::string_view utf8Caption, UINT type) {
  HWND previous = GetForegroundWindow();
  HWND panel = Windows() ? Windows()->composition : nullptr;
  if (panel) SetForegroundWindow(panel);
  int answer =
      MessageBoxW(panel, WideFromUtf8(utf8Text).c_str(), WideFromUtf8(utf8Caption).c_str(), type);
  if (previous) SetForegroundWindow(previous);
  return answer;
}

void GuiSessionHost::RunHostCommand(ContextHandle context, int id) {
  if (id == kCmdUserWord) {
    // The program has no way to reach the selection of another application's input context.
    ProgramMessageBox("对不起，只有输入法版本支持，外挂版不支持此功能！", "沃岚输入法",
                      MB_ICONWARNING | MB_OK);
    return;
  }
  WindowsSessionHost::RunHostCommand(context, id);
}

ContextHandle GuiWindowHost::ContextFor(HWND) {
  return reinterpret_cast<ContextHandle>(Windows()->composition);
}

std::string GuiWindowHost::SearchWord(ContextHandle) {
  const SessionState& state = Windows()->panel->state();
  return state.searchMode ? state.pendingPhrase : state.lastWord;
}

int GuiWindowHost::ShowMessageBox(std::string_view text, std::string_view caption, UINT type) {
  return ProgramMessageBox(text, caption, type);
}

void GuiWindowHost::MouseButton(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
      TraceEvent("down");
      break;
    case WM_LBUTTONUP:
      TraceEvent("up");
      break;
    default:
      break;
  }
}

}  // namespace tvime
