#pragma once
// The input-method side of IMM32 that MinGW's <imm.h> leaves out, written from the documented
// Windows interface (the IME development kit's immdev.h). imm32.dll exports all of these
// functions; the structures are laid out as the platform lays them out on each architecture.

#include <windows.h>

#include <imm.h>

#include <cstddef>

extern "C" {

// Soft keyboards (the two types are in <imm.h>).
#ifndef IMC_SETSOFTKBDDATA
#define IMC_SETSOFTKBDDATA 0x0018
#endif

struct SOFTKBDDATA {
  UINT uCount;
  WORD wCode[1][256];  // uCount arrays: unshifted, then shifted
};

HWND WINAPI ImmCreateSoftKeyboard(UINT type, HWND owner, int x, int y);
BOOL WINAPI ImmDestroySoftKeyboard(HWND softKeyboard);
BOOL WINAPI ImmShowSoftKeyboard(HWND softKeyboard, int show);

// --- What an input-method module works with ---

#ifndef IME_PROP_KBD_CHAR_FIRST
#define IME_PROP_KBD_CHAR_FIRST 0x00000002
#endif
#ifndef UI_CAP_SOFTKBD
#define UI_CAP_SOFTKBD 0x00010000
#endif
#ifndef IMC_SETOPENSTATUS
#define IMC_SETOPENSTATUS 0x0006
#endif
#ifndef NI_CONTEXTUPDATED
#define NI_CONTEXTUPDATED 0x0003
#endif
#ifndef INIT_COMPFORM
#define INIT_COMPFORM 0x00000010
#endif
// ImeInquire's system information: the input method is loaded on the secure desktop.
#ifndef IME_SYSINFO_WINLOGON
#define IME_SYSINFO_WINLOGON 0x0001
#endif
#ifndef IMMGWL_IMC
#define IMMGWL_IMC 0
#define IMMGWL_PRIVATE (sizeof(LONG_PTR))
#endif

struct IMEINFO {
  DWORD dwPrivateDataSize;
  DWORD fdwProperty;
  DWORD fdwConversionCaps;
  DWORD fdwSentenceCaps;
  DWORD fdwUICaps;
  DWORD fdwSCSCaps;
  DWORD fdwSelectCaps;
};

struct INPUTCONTEXT {
  HWND hWnd;
  BOOL fOpen;
  POINT ptStatusWndPos;
  POINT ptSoftKbdPos;
  DWORD fdwConversion;
  DWORD fdwSentence;
  union {
    LOGFONTA A;
    LOGFONTW W;
  } lfFont;
  COMPOSITIONFORM cfCompForm;
  CANDIDATEFORM cfCandForm[4];
  HIMCC hCompStr;
  HIMCC hCandInfo;
  HIMCC hGuideLine;
  HIMCC hPrivate;
  DWORD dwNumMsgBuf;
  HIMCC hMsgBuf;
  DWORD fdwInit;
  DWORD dwReserve[3];
};

struct COMPOSITIONSTRING {
  DWORD dwSize;
  DWORD dwCompReadAttrLen;
  DWORD dwCompReadAttrOffset;
  DWORD dwCompReadClauseLen;
  DWORD dwCompReadClauseOffset;
  DWORD dwCompReadStrLen;
  DWORD dwCompReadStrOffset;
  DWORD dwCompAttrLen;
  DWORD dwCompAttrOffset;
  DWORD dwCompClauseLen;
  DWORD dwCompClauseOffset;
  DWORD dwCompStrLen;
  DWORD dwCompStrOffset;
  DWORD dwCursorPos;
  DWORD dwDeltaStart;
  DWORD dwResultReadClauseLen;
  DWORD dwResultReadClauseOffset;
  DWORD dwResultReadStrLen;
  DWORD dwResultReadStrOffset;
  DWORD dwResultClauseLen;
  DWORD dwResultClauseOffset;
  DWORD dwResultStrLen;
  DWORD dwResultStrOffset;
  DWORD dwPrivateSize;
  DWORD dwPrivateOffset;
};

struct CANDIDATEINFO {
  DWORD dwSize;
  DWORD dwCount;
  DWORD dwOffset[32];
  DWORD dwPrivateSize;
  DWORD dwPrivateOffset;
};

struct TRANSMSG {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

struct TRANSMSGLIST {
  UINT uMsgCount;
  TRANSMSG TransMsg[1];
};

INPUTCONTEXT* WINAPI ImmLockIMC(HIMC context);
BOOL WINAPI ImmUnlockIMC(HIMC context);
HIMCC WINAPI ImmCreateIMCC(DWORD size);
HIMCC WINAPI ImmDestroyIMCC(HIMCC block);
LPVOID WINAPI ImmLockIMCC(HIMCC block);
BOOL WINAPI ImmUnlockIMCC(HIMCC block);
HIMCC WINAPI ImmReSizeIMCC(HIMCC block, DWORD size);
DWORD WINAPI ImmGetIMCCSize(HIMCC block);
BOOL WINAPI ImmGenerateMessage(HIMC context);

}  // extern "C"

// The layouts the module and the platform share.
static_assert(sizeof(COMPOSITIONSTRING) == 100);
static_assert(offsetof(COMPOSITIONSTRING, dwCompStrLen) == 44);
static_assert(offsetof(COMPOSITIONSTRING, dwResultStrLen) == 84);
static_assert(offsetof(COMPOSITIONSTRING, dwResultStrOffset) == 88);
static_assert(sizeof(CANDIDATEINFO) == 144);
static_assert(sizeof(CANDIDATELIST) == 28);
static_assert(sizeof(IMEINFO) == 28);
#ifdef _WIN64
static_assert(sizeof(TRANSMSG) == 24);
static_assert(offsetof(TRANSMSGLIST, TransMsg) == 8);
static_assert(sizeof(INPUTCONTEXT) == 352);
#else
static_assert(sizeof(TRANSMSG) == 12);
static_assert(offsetof(TRANSMSGLIST, TransMsg) == 4);
static_assert(sizeof(INPUTCONTEXT) == 320);
#endif
