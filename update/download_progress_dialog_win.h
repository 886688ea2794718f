#pragma once
// DownloadProgressDialog: the modeless dialog that shows an interactive download:
// a progress bar, the bytes and the speed, and a Cancel button that asks before it stops.

#include <windows.h>

#include <cstdint>
#include <ctime>

#include "resources/resource_ids.h"
#include "update/update_agent_win.h"

namespace tvime {

inline constexpr int kDownloadDialogId = IDD_DOWNLOAD;
inline constexpr int kDownloadProgressBar = IDC_DOWNLOAD_PROGRESS;
inline constexpr int kDownloadText = IDC_DOWNLOAD_TEXT;

class DownloadProgressDialog : public ProgressSink {
 public:
  // Made hidden from the program's resources.
  explicit DownloadProgressDialog(HINSTANCE resources);
  DownloadProgressDialog(const DownloadProgressDialog&) = delete;
  DownloadProgressDialog& operator=(const DownloadProgressDialog&) = delete;
  ~DownloadProgressDialog() override;

  // Shown in the middle of the screen.
  void Show();
  HWND window() const { return window_; }

  void onStart() override;
  void onProgress(std::int32_t received, std::int32_t total) override;
  void onDone() override {}
  bool isCancelled() override { return cancelled_; }

 private:
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  std::time_t started_ = 0;
  bool cancelled_ = false;
};

}  // namespace tvime
