// The functions the input-method manager calls in tvime30.ime. They run inside other people's
// applications: every one of them catches everything, uses the session only in its thread's turn,
// and whatever fails lets the key or the request pass as if no input method were there.

#include <windows.h>

#include "base/imm_ime_win.h"
#include "ime/ime_module_win.h"
#include "ime/input_context_win.h"
#include "ime/language_indicator_win.h"
#include "ime/ui_window_win.h"
#include "install/ime_registrar_win.h"
#include "install/installer_command.h"
#include "online/background_service_win.h"
#include "panels/session_lock_win.h"

namespace tvime {
namespace {

constexpr unsigned kKeyReleased = 0x8000;  // in the scan-code argument of ImeToAsciiEx

bool Pressed(const BYTE* keyState, int key) { return keyState && (keyState[key] & 0x80) != 0; }

// Whether the context's composition string holds text (the composing key table applies then).
bool Composing(const INPUTCONTEXT& fields) {
  if (!fields.hCompStr || ImmGetIMCCSize(fields.hCompStr) <= sizeof(COMPOSITIONSTRING)) {
    return false;
  }
  BlockLock<COMPOSITIONSTRING> block(fields.hCompStr);
  return block && block->dwCompStrLen != 0;
}

BOOL ProcessKey(HIMC context, UINT virtualKey, LPARAM keyData, const BYTE* keyState) {
  ImeModule* module = Module();
  if (!module) return FALSE;
  KeyStroke key{virtualKey & 0xFF, (static_cast<DWORD>(keyData) & 0x80000000) != 0,
                Pressed(keyState, VK_MENU), Pressed(keyState, VK_CONTROL)};
  ContextLock fields(context);
  std::optional<ContextState> state;
  if (fields) {
    state = ContextState{fields->fOpen != FALSE, module->runtime.panel.softKeyboard().shown(),
                         Composing(*fields)};
  }
  switch (module->keyFilter.Filter(key, state)) {
    case KeyVerdict::Take:
      return TRUE;
    case KeyVerdict::Pass:
      return FALSE;
    case KeyVerdict::ToggleOpen:
      if (fields->fOpen) {
        module->runtime.panel.Apply(ToHandle(context), UserAction::Just(ActionKind::InputClosed));
        fields->fOpen = FALSE;
        ClearCompositionAndEnd(context, false);
      } else {
        fields->fOpen = TRUE;
      }
      ShowInputState(fields->fOpen != FALSE);
      QueueImeMessage(context, WM_IME_NOTIFY, IMN_SETOPENSTATUS, 0);
      return FALSE;  // the Ctrl key itself still reaches the application
  }
  return FALSE;
}

UINT ToAsciiEx(UINT virtualKey, UINT scanCode, const BYTE* keyState, TRANSMSGLIST* list,
               HIMC context) {
  if (!context) return 0;
  ImeModule* module = Module();
  if (!module) return 0;
  TranslationScope scope;
  if (!IsContextOpen(context)) return 0;
  unsigned key = virtualKey & 0xFF;
  if (!(scanCode & kKeyReleased) && key != 0) {
    CompositionPanel& panel = module->runtime.panel;
    if (keyState && panel.softKeyboard().shown()) {
      panel.Apply(ToHandle(context), UserAction::SoftKeyboardKey(key, Pressed(keyState, VK_SHIFT)));
    } else {
      panel.Apply(ToHandle(context),
                  UserAction::TypedKey(static_cast<std::uint16_t>(virtualKey & 0xFFFF)));
    }
  }
  return scope.Deliver(context, list);
}

void Select(HIMC context, BOOL select) {
  if (!select) {
    if (context) RepositionPanelToCaret(context);
    return;
  }
  NotifyLanguageIndicator(context);
  if (context) RepositionPanelToCaret(context);
  ContextLock fields(context);
  if (!fields) return;
  // A newly selected context is always open.
  fields->fOpen = TRUE;
  PrepareContextBlocks(*fields);
}

void SetActiveContext(HIMC context, BOOL activate) {
  NotifyLanguageIndicator(context);
  if (context && activate) RepositionPanelToCaret(context);
  ContextLock fields(context);
  if (!fields || (fields->fdwInit & INIT_COMPFORM) || !IsWindow(fields->hWnd)) return;
  POINT origin{0, 0};
  ScreenToClient(fields->hWnd, &origin);
  fields->cfCompForm.dwStyle = CFS_DEFAULT;
  fields->cfCompForm.ptCurrentPos = origin;
  fields->fdwInit |= INIT_COMPFORM;
}

BOOL Notify(HIMC context, DWORD action, DWORD value) {
  if (action == NI_COMPOSITIONSTR) {
    RepositionPanelToCaret(context);
    return FALSE;
  }
  if (action != NI_CONTEXTUPDATED) return FALSE;
  switch (value) {
    case IMC_SETOPENSTATUS: {
      bool open = true;
      {
        ContextLock fields(context);
        // No context, no open state: the panel of the context that has one stays as it is.
        if (!fields) return FALSE;
        if (!fields->fOpen && ContextHasComposition(context)) {
          ClearCompositionAndEnd(context, false);
        }
        open = fields->fOpen;
      }
      if (Module()) ShowInputState(open);
      NotifyLanguageIndicator(context);
      return TRUE;
    }
    case IMC_SETCANDIDATEPOS:
    case IMC_SETCOMPOSITIONFONT:
    case IMC_SETCOMPOSITIONWINDOW:
      RepositionPanelToCaret(context);
      return FALSE;
    default:
      return FALSE;
  }
}

BOOL Configure(HWND parent) {
  ImeModule* module = Module();
  if (!module || module->secure) return FALSE;
  HIMC context = parent ? ImmGetContext(parent) : nullptr;
  RunSettingsDialog(ToHandle(context), nullptr);
  if (context) ImmReleaseContext(parent, context);
  if (parent) InvalidateRect(parent, nullptr, FALSE);
  return TRUE;
}

}  // namespace
}  // namespace tvime

using namespace tvime;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  // Under the loader lock only the instance is remembered; the engine starts on first use.
  if (reason == DLL_PROCESS_ATTACH) {
    SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    // Unloaded while the process goes on (a terminating process needs no cleaning up).
    try {
      StopModule();
      UnregisterImeWindowClasses();
    } catch (...) {
    }
  }
  return TRUE;
}

BOOL WINAPI ImeInquire(IMEINFO* info, LPSTR uiClass, DWORD systemInfo) {
  if (!info || !uiClass) return FALSE;
  SetSystemInfo(systemInfo);
  info->dwPrivateDataSize = 60;
  info->fdwProperty = IME_PROP_AT_CARET | IME_PROP_SPECIAL_UI | IME_PROP_KBD_CHAR_FIRST;
  info->fdwConversionCaps = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
  info->fdwSentenceCaps = 0;
  info->fdwUICaps = UI_CAP_2700 | UI_CAP_SOFTKBD;
  info->fdwSCSCaps = 0;
  info->fdwSelectCaps = SELECT_CAP_CONVERSION;
  lstrcpyA(uiClass, kUiClassName);
  // The manager creates the UI window right after this, on the application's thread.
  try {
    RegisterImeWindowClasses();
  } catch (...) {
  }
  return TRUE;
}

BOOL WINAPI ImeConfigure(HKL layout, HWND parent, DWORD mode, LPVOID data) {
  (void)layout;
  (void)mode;
  (void)data;
  try {
    SessionLock turn;
    return turn ? Configure(parent) : FALSE;
  } catch (...) {
    return FALSE;
  }
}

BOOL WINAPI ImeProcessKey(HIMC context, UINT virtualKey, LPARAM keyData, const BYTE* keyState) {
  try {
    SessionLock turn;
    return turn ? ProcessKey(context, virtualKey, keyData, keyState) : FALSE;
  } catch (...) {
    return FALSE;
  }
}

UINT WINAPI ImeToAsciiEx(UINT virtualKey, UINT scanCode, const BYTE* keyState, TRANSMSGLIST* list,
                         UINT menuState, HIMC context) {
  (void)menuState;
  try {
    SessionLock turn;
    return turn ? ToAsciiEx(virtualKey, scanCode, keyState, list, context) : 0;
  } catch (...) {
    return 0;
  }
}

BOOL WINAPI ImeSelect(HIMC context, BOOL select) {
  try {
    SessionLock turn;
    if (turn) Select(context, select);
  } catch (...) {
  }
  return TRUE;
}

BOOL WINAPI ImeSetActiveContext(HIMC context, BOOL activate) {
  try {
    SessionLock turn;
    if (turn) SetActiveContext(context, activate);
  } catch (...) {
  }
  return TRUE;
}

BOOL WINAPI NotifyIME(HIMC context, DWORD action, DWORD index, DWORD value) {
  (void)index;
  try {
    SessionLock turn;
    return turn ? Notify(context, action, value) : FALSE;
  } catch (...) {
    return FALSE;
  }
}

// The platform's optional services that this input method does not offer.
DWORD WINAPI ImeConversionList(HIMC, LPCSTR, LPCANDIDATELIST, DWORD, UINT) { return 0; }
UINT WINAPI ImeEnumRegisterWord(REGISTERWORDENUMPROCA, LPCSTR, DWORD, LPCSTR, LPVOID) { return 0; }
LRESULT WINAPI ImeEscape(HIMC, UINT, LPVOID) { return 0; }
BOOL WINAPI ImeRegisterWord(LPCSTR, DWORD, LPCSTR) { return FALSE; }
BOOL WINAPI ImeUnregisterWord(LPCSTR, DWORD, LPCSTR) { return FALSE; }
// Called before the module is unloaded: the background service ends once its current pass is
// done, and with it its hold on the module. The answer stays FALSE, as it always was.
BOOL WINAPI ImeDestroy(UINT) {
  StopBackgroundService();
  return FALSE;
}
UINT WINAPI ImeGetRegisterWordStyle(UINT, LPSTYLEBUFA) { return 0; }
BOOL WINAPI ImeSetCompositionString(HIMC, DWORD, LPVOID, DWORD, LPVOID, DWORD) { return FALSE; }

// regsvr32 and installers read the result: a registration that did not happen is a failure.
HRESULT WINAPI DllRegisterServer() {
  try {
    return ImeRegistrar().InstallIme(kImeFileName, kLayoutText) ? S_OK : E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT WINAPI DllUnregisterServer() {
  try {
    return ImeRegistrar().UninstallIme(kImeFileName) ? S_OK : E_FAIL;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

}  // extern "C"
