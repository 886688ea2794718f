#pragma once
// The input-method side of IMM32 that MinGW's <imm.h> leaves out, written from the documented
// Windows interface. imm32.dll exports all of these functions.

#include <imm.h>
#include <windows.h>

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

}  // extern "C"
