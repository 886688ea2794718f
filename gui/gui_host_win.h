#pragma once
// The stand-alone program's host: committed text goes to the focused control of the foreground
// application as character messages; the panels never take the focus from it.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "panels/panel_windows_win.h"
#include "panels/windows_session_host_win.h"

namespace tvime {

// What the program sends to the focused window, for tests to see without another program.
struct Delivery {
  HWND target = nullptr;
  bool unicode = false;
  std::uint32_t layout = 0;
  std::vector<std::uint16_t> characters;  // WM_CHAR units or WM_IME_CHAR values
};

class GuiSessionHost : public WindowsSessionHost {
 public:
  void Commit(ContextHandle context, std::string_view text) override;
  void ReturnKey(ContextHandle context, unsigned virtualKey) override;
  void PanelChanged(ContextHandle context) override;
  void RunHostCommand(ContextHandle context, int id) override;
};

class GuiWindowHost : public PanelWindowHost {
 public:
  // The panels pass the composition window itself as the session's context.
  ContextHandle ContextFor(HWND) override;
  HWND ApplicationWindow(ContextHandle) override { return GetForegroundWindow(); }
  bool IsOpen(ContextHandle) override { return true; }
  void SetOpen(ContextHandle, bool) override {}
  bool HasExitCommand() const override { return true; }
  int ShowMessageBox(std::string_view text, std::string_view caption, UINT type) override;
  void MouseButton(UINT message) override;
  void NewsLineSetUp() override { StartNewsService(); }
  // The program sees no selection of other applications: the chosen text waiting in search
  // mode, else the last word chosen.
  std::string SearchWord(ContextHandle context) override;
};

// Commits `gbk` to the focused window of the foreground thread; false when there is none.
bool DeliverText(std::string_view gbk, Delivery* delivered = nullptr);
// Hands a key (Enter, Backspace) back to the focused window.
void DeliverKey(unsigned virtualKey);
// The user's preloaded Chinese (PRC) layout, from the registry.
std::uint32_t PreloadedChineseLayout();

// A message box that leaves the user's application in the foreground afterwards.
int ProgramMessageBox(std::string_view utf8Text, std::string_view utf8Caption, UINT type);

}  // namespace tvime
