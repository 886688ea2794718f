#pragma once
// The identifiers of the text service, and those of the Text Services Framework that MinGW's
// headers lack (values as Microsoft's msctf.h gives them).

#include <windows.h>

#include <msctf.h>

// Not in MinGW's msctf.h: the text input processor that is told the activation's flags.
#ifndef __ITfTextInputProcessorEx_INTERFACE_DEFINED__
#define __ITfTextInputProcessorEx_INTERFACE_DEFINED__
inline constexpr IID IID_ITfTextInputProcessorEx = {
    0x6e4e2102, 0xf9cd, 0x433d, {0xb4, 0x96, 0x30, 0x3c, 0xe0, 0x3a, 0x65, 0x07}};
struct ITfTextInputProcessorEx : public ITfTextInputProcessor {
  virtual HRESULT STDMETHODCALLTYPE ActivateEx(ITfThreadMgr* threadMgr, TfClientId clientId,
                                               DWORD flags) = 0;
};
#endif
// Not in MinGW's msctf.h: what the framework asks for the display attributes of a service.
#ifndef __ITfDisplayAttributeProvider_INTERFACE_DEFINED__
#define __ITfDisplayAttributeProvider_INTERFACE_DEFINED__
inline constexpr IID IID_ITfDisplayAttributeProvider = {
    0xfee47777, 0x163c, 0x4769, {0x99, 0x6a, 0x6e, 0x9c, 0x50, 0xad, 0x8f, 0x54}};
struct ITfDisplayAttributeProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE
  EnumDisplayAttributeInfo(IEnumTfDisplayAttributeInfo** list) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDisplayAttributeInfo(REFGUID guid,
                                                            ITfDisplayAttributeInfo** info) = 0;
};
#endif
#ifndef TF_INVALID_GUIDATOM
#define TF_INVALID_GUIDATOM ((TfGuidAtom)0)
#endif
#ifndef TF_CLIENTID_NULL
#define TF_CLIENTID_NULL ((TfClientId)0)
#endif
#ifndef TF_TMAE_SECUREMODE
#define TF_TMAE_SECUREMODE 0x00000002
#endif
#ifndef TF_E_SYNCHRONOUS
#define TF_E_SYNCHRONOUS TS_E_SYNCHRONOUS
#endif

namespace tvime {

// The text service's class.
inline constexpr GUID kTextServiceClsid = {
    0xe74260e4, 0x2e1a, 0x4c81, {0xa8, 0xc1, 0xfb, 0x38, 0x06, 0xcc, 0x57, 0x21}};
// Its one language profile, for Chinese (PRC).
inline constexpr GUID kTextServiceProfile = {
    0xca5bd6ba, 0xa55d, 0x4580, {0x85, 0xfb, 0xb6, 0x0a, 0x3a, 0xbf, 0xc5, 0x40}};
// The display attribute of search mode's pending text.
inline constexpr GUID kPendingTextAttribute = {
    0x240aa88e, 0x05f4, 0x4516, {0x82, 0xa9, 0x34, 0x78, 0x91, 0x52, 0x4f, 0x3b}};
// The preserved key that switches the input method on and off: Ctrl, on its release.
inline constexpr GUID kOnOffKey = {
    0x93123e7e, 0x6683, 0x4afe, {0x81, 0xfa, 0xfb, 0x5e, 0x09, 0xf8, 0x8b, 0xf7}};

inline constexpr LANGID kChineseSimplified = 0x0804;

inline constexpr GUID kTipKeyboard = {
    0x34745c63, 0xb2f0, 0x4784, {0x8b, 0x67, 0x5e, 0x12, 0xc8, 0x70, 0x1a, 0x31}};
inline constexpr GUID kDisplayAttributeProvider = {
    0x046b8c80, 0x1647, 0x40f7, {0x9b, 0x21, 0xb9, 0x3b, 0x81, 0xaa, 0xbc, 0x1b}};
inline constexpr GUID kTipCapImmersiveSupport = {
    0x13a016df, 0x560b, 0x46cd, {0x94, 0x7a, 0x4c, 0x3a, 0xf1, 0xe0, 0xe3, 0x5d}};
inline constexpr GUID kTipCapSystraySupport = {
    0x25504fb4, 0x7bab, 0x4bc1, {0x9c, 0x69, 0xcf, 0x81, 0x89, 0x0f, 0x0e, 0xf5}};
inline constexpr GUID kTipCapSecureMode = {
    0x49d2f9ce, 0x1f5e, 0x11d7, {0xa6, 0xd3, 0x00, 0x06, 0x5b, 0x84, 0x43, 0x5c}};
inline constexpr GUID kTipCapUiElementEnabled = {
    0x49d2f9cf, 0x1f5e, 0x11d7, {0xa6, 0xd3, 0x00, 0x06, 0x5b, 0x84, 0x43, 0x5c}};
inline constexpr GUID kCompartmentKeyboardOpenClose = {
    0x58273aad, 0x01bb, 0x4164, {0x95, 0xc6, 0x75, 0x5b, 0xa0, 0xb5, 0x16, 0x2d}};

// The text property whose value (a GUID atom) names the display attribute of a range.
inline constexpr GUID kPropAttribute = {
    0x34b45670, 0x7526, 0x11d2, {0xa1, 0x47, 0x00, 0x10, 0x5a, 0x27, 0x99, 0xb5}};

// The categories the service is registered in: a keyboard text service that provides the display
// attribute of its compositions, loads in immersive applications (the Start menu's search,
// Settings, Store applications), shows its state in the system tray, and runs on the secure
// desktop (where it types and does nothing else). It draws its own panels, so it is not "UI
// element enabled": applications that draw the candidates themselves get no list from it.
inline constexpr GUID kTextServiceCategories[] = {kTipKeyboard, kDisplayAttributeProvider,
                                                  kTipCapImmersiveSupport, kTipCapSystraySupport,
                                                  kTipCapSecureMode};

}  // namespace tvime
