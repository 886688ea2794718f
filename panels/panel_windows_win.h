#pragma once
// The panels as Windows windows: the composition window, the status window and the soft
// keyboard, over the portable session. A program (the input-method module or the stand-alone
// program) installs its host and registers the classes under its own names.

#include <windows.h>

#include <string>
#include <string_view>

#include "panels/gdi_renderer_win.h"
#include "session/composition_panel.h"
#include "session/news_line.h"
#include "settings/settings.h"

namespace tvime {

// What the panel windows need from the program that hosts them.
class PanelWindowHost {
 public:
  virtual ~PanelWindowHost() = default;
  // The input context a click on a panel window works on.
  virtual ContextHandle ContextFor(HWND window) = 0;
  // The application window of the context (for the selected text), or nullptr.
  virtual HWND ApplicationWindow(ContextHandle context) = 0;
  // Whether the input method is open for the context, and switching it.
  virtual bool IsOpen(ContextHandle context) = 0;
  virtual void SetOpen(ContextHandle context, bool open) = 0;
  // Messages the program handles itself; they are swallowed by the panel windows.
  virtual bool IsInputMethodMessage(UINT message) { return message >= 0x0650 && message < 0x0660; }
  // "退出" is only in the stand-alone program's menu.
  virtual bool HasExitCommand() const { return false; }
  // A message box of a window command (UTF-8 texts); MessageBoxW's answer.
  virtual int ShowMessageBox(std::string_view text, std::string_view caption, UINT type);
  // The word the Search button looks up: the text selected in the application, else the last
  // word chosen on the panel.
  virtual std::string SearchWord(ContextHandle context);
  // The composition window was sized, which sets up its news line: the program starts the
  // process's background service that fills it (the test host does not).
  virtual void NewsLineSetUp() {}
  // A mouse button went down or up on the composition window (WM_LBUTTONDOWN ... WM_RBUTTONUP),
  // before the panel acts on it.
  virtual void MouseButton(UINT message) { (void)message; }
  // The composition window moved.
  virtual void CompositionMoved(HWND window) { (void)window; }
};

// Everything the windows share in one process.
struct PanelWindows {
  HINSTANCE resources = nullptr;  // the module holding bitmaps, menus, dialogs
  CompositionPanel* panel = nullptr;
  PanelArtwork* artwork = nullptr;
  Settings* settings = nullptr;
  PanelWindowHost* host = nullptr;
  NewsLine* news = nullptr;  // in the hint strip while nothing is hovered
  const TextMeasure* measure = nullptr;
  HWND composition = nullptr;
  HWND status = nullptr;
  HWND softKeyboard = nullptr;  // our own soft-keyboard window
  HWND tooltips = nullptr;
  std::wstring statusClass;
  // On the logon and lock screens the windows type and do nothing else (no menu, dialog,
  // program, clipboard or web page).
  bool secureDesktop = false;
};

// Installs the process's windows state; the window procedures read it.
void InstallPanelWindows(PanelWindows* windows);
PanelWindows* Windows();

// Where the cursor is, in the client coordinates of `window`.
POINT CursorInClient(HWND window);
// The panels' tooltips off and on again: off while a button is held, a soft keyboard is shown or
// the about box is up, so that no tip covers what the user works on.
void ActivateTooltips(bool active);

// Registers the composition and status window classes under the program's names
// ("TavrinIME3_COMP" / "TavrinIME3_STATUS" in the module, "TavrinIME3App_..." in the program)
// with the program's class style.
bool RegisterPanelWindowClasses(HINSTANCE instance, const wchar_t* compositionClass,
                                const wchar_t* statusClass, UINT style);
// Registers one class of windows that carry the panels' window words (kPanelWindowExtra): the
// panel classes, and the stand-alone program's UI window.
bool RegisterPanelWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, UINT style,
                              HCURSOR cursor = nullptr);

// The classes have CS_DBLCLKS: a quick second press arrives as a double click, and is a press.
inline UINT SingleClickMessage(UINT mouse) {
  if (mouse == WM_LBUTTONDBLCLK) return WM_LBUTTONDOWN;
  if (mouse == WM_RBUTTONDBLCLK) return WM_RBUTTONDOWN;
  return mouse;
}

// Creates the composition window owned by `owner` (not shown).
HWND CreateCompositionWindow(HINSTANCE instance, const wchar_t* className, HWND owner);
// Shows it without activation; the first time at the position stored in "CompPos".
void ShowCompositionWindow(HWND window);
// Sizes the composition window for its monitor's `dpi` and the "PanelSize" setting, at the
// top-left of `suggested` when given (WM_DPICHANGED's rectangle), and redraws it.
void ScaleCompositionWindow(HWND window, int dpi, const RECT* suggested);

// The open state or the conversion flags changed (a key, a menu, the settings dialog, the
// platform): the status window shows the new state, and the composition window shows while the
// input method is open and no soft keyboard is in its place.
void ShowInputState(bool open);

// The settings dialog (over `owner`, or over nothing). What it changes shows at once; a new
// character set looks the input up again. The dialog's answer; 0 where no dialog may be shown.
int RunSettingsDialog(ContextHandle context, HWND owner);

// Creates the status window owned by `owner` at the position stored in "Position", and shows it.
HWND CreateStatusBarWindow(HINSTANCE instance, const wchar_t* className, HWND owner);

// Window words of both windows: 4 the drag state, 8 the owning UI window.
inline constexpr int kDragStateWord = 4;
inline constexpr int kOwnerWord = 8;
inline constexpr int kPanelWindowExtra = 16;

// Posted to the composition window when the dictionary manager has ended: the user words are
// read again (the manager may have changed them).
inline constexpr UINT kReloadUserWords = WM_APP + 0x101;
inline constexpr char kDictionaryManagerFile[] = "tvimedic.exe";

// The commands of the session that need windows, menus, dialogs, the clipboard or other
// programs; called by the session's host for RunHostCommand.
void RunWindowCommand(ContextHandle context, int id);

// The text selected in the application: copied through the clipboard, whose former text is put
// back afterwards. GBK; empty when there is none.
std::string FetchSelectedText(HWND application);

// A click on a news entry: its page in the browser, with the user's identifier.
void OpenNewsEntry(const NewsEntry& entry);
// Starts the background service that fills the news line, once per process (not on the secure
// desktop); later calls do nothing.
void StartNewsService();
// A right click on a character or phrase: its explanation or its search (empty: nothing).
void LookUpWordOnline(std::string_view word);

// Soft keyboards: the system's where it exists, else a window of our own that is clicked.
void ShowSoftKeyboard();
void CloseSoftKeyboard();

}  // namespace tvime
