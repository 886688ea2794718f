#pragma once
// NotificationPopup: the small window that slides out of the screen's edge next to the taskbar to
// announce an update, stays six seconds and slides back; a click opens the product's change log.

#include <windows.h>

#include <string>

#include "update/updater_rules.h"

namespace tvime {

class NotificationPopup {
 public:
  // `text` UTF-8; `changeLogUrl` opened by a click.
  NotificationPopup(std::string text, std::string changeLogUrl);
  NotificationPopup(const NotificationPopup&) = delete;
  NotificationPopup& operator=(const NotificationPopup&) = delete;
  ~NotificationPopup();

  // Shows the popup and returns once it is gone (slid back, or clicked). Returns at once when no
  // window can be made (no desktop to show it on).
  void ShowAndWait(HINSTANCE instance);

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Place(HWND window);
  void DrawText(HDC dc);
  void Close(HWND window);

  std::wstring text_;
  std::string changeLogUrl_;
  ScreenRect workArea_{};
  DockSide side_ = DockSide::Bottom;
  int height_ = 0;
  int dpi_ = 96;  // of the monitor it shows on: its size, text and font
  HFONT font_ = nullptr;
  HCURSOR hand_ = nullptr;
};

}  // namespace tvime
