#pragma once
// The way of the tests and the measuring programs into tvime30.ime: the module beside the program
// (or a given path), its exports as an application's input-method manager calls them, and a
// context to call them on.

#include <windows.h>

#include <string>

#include "base/exported_function_win.h"
#include "base/imm_ime_win.h"
#include "tests/support/program_folder_win.h"

namespace tvime::testing {

// A translation list of N records, as the platform passes it to ImeToAsciiEx.
template <UINT N = 16>
struct TranslationList {
  UINT uMsgCount = N;
  TRANSMSG TransMsg[N] = {};
  TRANSMSGLIST* get() { return reinterpret_cast<TRANSMSGLIST*>(this); }
};

// `argument` when given, else tvime30.ime beside this program.
inline std::wstring ImeModulePath(const wchar_t* argument = nullptr) {
  return argument ? argument : ProgramFolderW() + L"tvime30.ime";
}

// A window with an input context of its own, as an application has.
struct ApplicationContext {
  ApplicationContext()
      : window(CreateWindowExW(0, L"STATIC", L"application", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr)),
        context(ImmCreateContext()) {
    if (window && context) ImmAssociateContext(window, context);
  }
  ~ApplicationContext() {
    if (window) ImmAssociateContext(window, nullptr);
    if (context) ImmDestroyContext(context);
  }
  ApplicationContext(const ApplicationContext&) = delete;
  ApplicationContext& operator=(const ApplicationContext&) = delete;
  bool ok() const { return window && context; }

  HWND window;
  HIMC context;
};

struct ImeModuleCalls {
  using Inquire = BOOL(WINAPI*)(IMEINFO*, LPSTR, DWORD);
  using Select = BOOL(WINAPI*)(HIMC, BOOL);
  using ProcessKey = BOOL(WINAPI*)(HIMC, UINT, LPARAM, const BYTE*);
  using ToAsciiEx = UINT(WINAPI*)(UINT, UINT, const BYTE*, TRANSMSGLIST*, UINT, HIMC);
  using SetActive = BOOL(WINAPI*)(HIMC, BOOL);
  using Notify = BOOL(WINAPI*)(HIMC, DWORD, DWORD, DWORD);

  explicit ImeModuleCalls(HMODULE module)
      : inquire(ExportedFunction<Inquire>(module, "ImeInquire")),
        select(ExportedFunction<Select>(module, "ImeSelect")),
        processKey(ExportedFunction<ProcessKey>(module, "ImeProcessKey")),
        toAsciiEx(ExportedFunction<ToAsciiEx>(module, "ImeToAsciiEx")),
        setActive(ExportedFunction<SetActive>(module, "ImeSetActiveContext")),
        notify(ExportedFunction<Notify>(module, "NotifyIME")) {}
  bool ok() const { return inquire && select && processKey && toAsciiEx && setActive && notify; }

  // ImeInquire, then ImeSelect on `context`.
  void Start(HIMC context) const {
    IMEINFO info{};
    char uiClass[64] = {};
    inquire(&info, uiClass, 0);
    select(context, TRUE);
  }
  // One key as the manager passes it: ImeProcessKey, and ImeToAsciiEx when the module wants it.
  void Key(HIMC context, UINT key, UINT character) const {
    BYTE keyState[256] = {};
    TranslationList list;
    if (processKey(context, key, 1, keyState)) {
      toAsciiEx((character << 8) | key, 0, keyState, list.get(), 0, context);
    }
  }

  Inquire inquire;
  Select select;
  ProcessKey processKey;
  ToAsciiEx toAsciiEx;
  SetActive setActive;
  Notify notify;
};

}  // namespace tvime::testing
