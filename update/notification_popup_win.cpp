#include "update/notification_popup_win.h"

#include <shellapi.h>

#include "base/dpi_win.h"
#include "base/gdi_scope_win.h"
#include "base/wide_text_win.h"

namespace tvime {
namespace {

constexpr wchar_t kClassName[] = L"StatusBarMsgWndClass";
constexpr UINT_PTR kSlideIn = 100, kSlideOut = 101, kStay = 102;
constexpr UINT kStepMs = 30, kStayMs = 6000;
constexpr RECT kTextRect{10, 10, 150, 80};

// The one popup on the screen, for its window procedure.
NotificationPopup* g_popup = nullptr;

}  // namespace

NotificationPopup::NotificationPopup(std::string text, std::string changeLogUrl)
    : text_(WideFromUtf8(text)), changeLogUrl_(std::move(changeLogUrl)) {}

NotificationPopup::~NotificationPopup() {
  if (font_) DeleteObject(font_);
  if (g_popup == this) g_popup = nullptr;
}

void NotificationPopup::ShowAndWait(HINSTANCE instance) {
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  dpi_ = WindowDpi(nullptr);
  workArea_ = {work.left, work.top, work.right, work.bottom};
  side_ = ChooseDockSide(workArea_, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  windowClass.lpfnWndProc = Proc;
  windowClass.cbWndExtra = 8;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);
  g_popup = this;
  HWND window = CreateWindowExW(WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW, kClassName, L"",
                                WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, 0, 0, 0, nullptr, nullptr,
                                instance, nullptr);
  if (!window) {
    g_popup = nullptr;
    return;
  }
  height_ = 0;
  SetTimer(window, kSlideIn, kStepMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  g_popup = nullptr;
}

LRESULT CALLBACK NotificationPopup::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_popup) return DefWindowProcW(window, message, wParam, lParam);
  return g_popup->Handle(window, message, wParam, lParam);
}

void NotificationPopup::Place(HWND window) {
  ScreenRect at = PopupRect(side_, workArea_, height_, dpi_);
  SetWindowPos(window, HWND_TOPMOST, at.left, at.top, at.right - at.left, at.bottom - at.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void NotificationPopup::DrawText(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 255));
  Selected font(dc, font_);
  RECT rect{PopupPixels(kTextRect.left, dpi_), PopupPixels(kTextRect.top, dpi_),
            PopupPixels(kTextRect.right, dpi_), PopupPixels(kTextRect.bottom, dpi_)};
  ::DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &rect, DT_WORDBREAK | DT_CENTER);
}

void NotificationPopup::Close(HWND window) {
  DestroyWindow(window);
  PostQuitMessage(0);
}

LRESULT NotificationPopup::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) & ~WS_CAPTION);
      SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      LOGFONTW description{};
      GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
      description.lfWeight = FW_BOLD;
      description.lfHeight = MulDiv(description.lfHeight, dpi_, SystemDpi());
      lstrcpyW(description.lfFaceName, L"Arial");
      font_ = CreateFontIndirectW(&description);
      hand_ = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND));
      break;
    }
    case WM_TIMER:
      if (wParam == kSlideIn) {
        if (++height_ <= PopupPixels(kPopupHeight, dpi_)) {
          Place(window);
        } else {
          KillTimer(window, kSlideIn);
          SetTimer(window, kStay, kStayMs, nullptr);
        }
      } else if (wParam == kStay) {
        KillTimer(window, kStay);
        SetTimer(window, kSlideOut, kStepMs, nullptr);
      } else if (wParam == kSlideOut) {
        if (height_ <= 1) {
          KillTimer(window, kSlideOut);
          height_ = 0;
          Close(window);
          return 0;
        }
        --height_;
        Place(window);
      }
      return 0;
    case WM_PAINT: {
      PaintScope paint(window);
      RECT client;
      GetClientRect(window, &client);
      FillRect(paint.dc(), &client, GetSysColorBrush(COLOR_WINDOW));
      DrawText(paint.dc());
      return 0;
    }
    case WM_SIZE: {
      WindowDc dc(window);
      if (dc) DrawText(dc.get());
      break;
    }
    case WM_SETCURSOR:
      SetCursor(hand_);
      return TRUE;
    case WM_LBUTTONDOWN:
      ShellExecuteA(nullptr, "open", changeLogUrl_.c_str(), nullptr, nullptr, SW_SHOW);
      Close(window);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tvime
