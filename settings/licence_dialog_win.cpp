#include "settings/licence_dialog_win.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "base/dpi_win.h"
#include "base/module_resources_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"

namespace tvime {
namespace {

// The resource's bytes and how far the control has read them.
struct LicenceStream {
  ByteSpan bytes;
  std::size_t position = 0;
};

// EM_STREAMIN calls this until it reports 0 bytes. Returning non-zero stops the stream.
DWORD CALLBACK ReadLicenceBytes(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* got) {
  auto* stream = reinterpret_cast<LicenceStream*>(cookie);
  if (!stream || !buffer || !got || requested < 0) return 1;
  std::size_t count =
      std::min(static_cast<std::size_t>(requested), stream->bytes.size() - stream->position);
  std::memcpy(buffer, stream->bytes.data() + stream->position, count);
  stream->position += count;
  *got = static_cast<LONG>(count);
  return 0;
}

// The licence picture drawn for the dialog's scale (resource 167 + 1000 k for 125, 150 and 200 %,
// as the panels' pictures), or the nearest larger one, loaded once per scale for the process.
HBITMAP LicencePictureAt(HINSTANCE module, int dpi) {
  constexpr int kDpis[] = {120, 144, 192};
  struct Loaded {
    HINSTANCE module = nullptr;
    int id = 0;
    HBITMAP bitmap = nullptr;
    ~Loaded() {
      if (bitmap) DeleteObject(bitmap);
    }
  };
  static Loaded loaded[3];
  for (int k = 0; k < 3; ++k) {
    if (kDpis[k] < dpi && k < 2) continue;
    Loaded& slot = loaded[k];
    int id = IDB_LICENCE_PICTURE + 1000 * (k + 1);
    if (slot.module != module || slot.id != id) {
      if (slot.bitmap) DeleteObject(slot.bitmap);
      slot = {};
      slot.module = module;
      slot.id = id;
      slot.bitmap = static_cast<HBITMAP>(
          LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    }
    return slot.bitmap;
  }
  return nullptr;
}

// The picture control of the template shows the 96-dpi picture at its own size; on a larger
// scale it shows the picture drawn for that scale instead, never a stretched one.
void ShowPictureAtDialogScale(HWND dialog) {
  int dpi = WindowDpi(dialog);
  if (dpi <= 96) return;
  auto* module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
  HBITMAP picture = LicencePictureAt(module, dpi);
  if (!picture) return;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) continue;
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") != 0) continue;
    SendMessageW(child, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
  }
}

Settings* DialogSettings(HWND dialog) {
  return reinterpret_cast<Settings*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

INT_PTR HandleLicenceMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      ShowPictureAtDialogScale(dialog);
      CenterOnDesktop(dialog);
      HWND text = GetDlgItem(dialog, kCtlLicenceText);
      // The text comes from the module the template came from, so that the program and a test
      // DLL each show their own.
      StreamLicenceInto(text,
                        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE)));
      if (text) InvalidateRect(text, nullptr, TRUE);
      Settings* settings = DialogSettings(dialog);
      bool noShow = settings && settings->Read(setting::NoShowLicense) != 0;
      CheckDlgButton(dialog, kCtlNoShowLicence, noShow ? BST_CHECKED : BST_UNCHECKED);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          if (Settings* settings = DialogSettings(dialog)) {
            bool noShow = IsDlgButtonChecked(dialog, kCtlNoShowLicence) == BST_CHECKED;
            settings->Write(setting::NoShowLicense, noShow ? 1 : 0);
          }
          EndDialog(dialog, 1);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 2);
          return TRUE;
      }
      // The check box and the rich edit's notifications: nothing to do until a button ends it.
      return TRUE;
  }
  return FALSE;
}

}  // namespace

INT_PTR CALLBACK LicenceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  // Only an allocation in the settings store can throw; it must not unwind into the system's
  // dialog manager.
  try {
    return HandleLicenceMessage(dialog, message, wParam, lParam);
  } catch (...) {
    return FALSE;
  }
}

std::size_t StreamLicenceInto(HWND richEdit, HINSTANCE module) {
  if (!richEdit) return 0;
  std::optional<ByteSpan> bytes = ModuleResources(module).FindData("LICENSE");
  if (!bytes) return 0;
  LicenceStream stream{*bytes};
  EDITSTREAM edit = {};
  edit.dwCookie = reinterpret_cast<DWORD_PTR>(&stream);
  edit.pfnCallback = ReadLicenceBytes;
  SendMessageW(richEdit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&edit));
  // The caret is left at the end of the text; the reader starts at its top.
  SendMessageW(richEdit, EM_SETSEL, 0, 0);
  SendMessageW(richEdit, EM_SCROLLCARET, 0, 0);
  return stream.position;
}

int ShowLicenceAgreement(HINSTANCE module, bool readingMode, Settings& settings) {
  if (!readingMode && settings.Read(setting::NoShowLicense) != 0) return 1;
  // The dialogs' "RICHEDIT" class is registered by RICHED32.DLL. It is never freed: the class must
  // outlive every dialog, and the library is small.
  if (!LoadLibraryA("RICHED32.DLL")) return -1;
  int id = readingMode ? kLicenceReadingDialogId : kLicenceAgreementDialogId;
  return static_cast<int>(DialogBoxParamW(module, MAKEINTRESOURCEW(id), nullptr, LicenceDialogProc,
                                          reinterpret_cast<LPARAM>(&settings)));
}

}  // namespace tvime
