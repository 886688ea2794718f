#include "update/download_progress_dialog_win.h"

#include <commctrl.h>

#include "base/product_title.h"
#include "base/wide_text_win.h"
#include "update/update_rules.h"

namespace tvime {

DownloadProgressDialog::DownloadProgressDialog(HINSTANCE resources) {
  window_ = CreateDialogParamW(resources, MAKEINTRESOURCEW(kDownloadDialogId), nullptr, Proc,
                               reinterpret_cast<LPARAM>(this));
}

DownloadProgressDialog::~DownloadProgressDialog() {
  if (window_) DestroyWindow(window_);
}

void DownloadProgressDialog::Show() {
  if (!window_) return;
  ShowWindow(window_, SW_SHOWNORMAL);
  BringWindowToTop(window_);
  UpdateWindow(window_);
  RECT desktop, dialog;
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetWindowRect(window_, &dialog);
  SetWindowPos(window_, nullptr,
               desktop.left + (desktop.right - desktop.left - (dialog.right - dialog.left)) / 2,
               desktop.top + (desktop.bottom - desktop.top - (dialog.bottom - dialog.top)) / 2, 0,
               0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DownloadProgressDialog::onStart() { started_ = std::time(nullptr); }

void DownloadProgressDialog::onProgress(std::int32_t received, std::int32_t total) {
  if (!window_) return;
  HWND bar = GetDlgItem(window_, kDownloadProgressBar);
  SendMessageW(bar, PBM_SETRANGE32, 0, total);
  SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(received), 0);
  std::string text = ProgressText(received, total, std::time(nullptr) - started_);
  SetDlgItemTextW(window_, kDownloadText, WideFromUtf8(text).c_str());
}

INT_PTR CALLBACK DownloadProgressDialog::Proc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    return FALSE;
  }
  auto* self = reinterpret_cast<DownloadProgressDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (self && message == WM_COMMAND && LOWORD(wParam) == IDCANCEL &&
      MessageBoxW(window, WideFromUtf8("您点击了取消按钮，是否真的要取消正在下载的文件？").c_str(),
                  WideFromUtf8(kProductTitle).c_str(),
                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES) {
    self->cancelled_ = true;
  }
  // The dialog never closes itself: its download ends it.
  return FALSE;
}

}  // namespace tvime
