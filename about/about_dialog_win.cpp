#include "about/about_dialog_win.h"

#include <memory>
#include <string>
#include <vector>

#include "about/credits_crawl.h"
#include "base/dpi_win.h"
#include "base/module_resources_win.h"
#include "base/wide_text_win.h"
#include "online/open_url_win.h"
#include "resources/resource_ids.h"
#include "settings/licence_dialog_win.h"
#include "update/file_swap_win.h"
#include "update/update_server.h"

namespace tvime {
namespace {

constexpr int kCreditsResource = IDR_CREDITS;
constexpr int kHtmlResource = 23;  // RT_HTML: the credits are plain text (UTF-8)
constexpr UINT_PTR kCrawlTimer = 1;

// A memory device context with a bitmap of its own, released together.
class MemoryCanvas {
 public:
  MemoryCanvas() = default;
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  ~MemoryCanvas() { Release(); }

  void Make(HDC like, int width, int height) {
    Release();
    dc_ = CreateCompatibleDC(like);
    bitmap_ = CreateCompatibleBitmap(like, width, height);
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  void Release() {
    if (dc_ && previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
  }
  HDC dc() const { return bitmap_ ? dc_ : nullptr; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
};

// The crawl lives in the static control it draws into: it replaces the control's window
// procedure and is deleted when the control is destroyed.
class CreditsCrawl {
 public:
  CreditsCrawl() = default;
  CreditsCrawl(const CreditsCrawl&) = delete;
  CreditsCrawl& operator=(const CreditsCrawl&) = delete;
  ~CreditsCrawl() {
    if (font_) DeleteObject(font_);
  }

  void AddLine(std::string_view utf8) { lines_.push_back(WideFromUtf8(utf8)); }

  void Attach(HWND control) {
    control_ = control;
    // The crawl is drawn at the dpi of the dialog's monitor: its letters, stars and speed.
    dpi_ = WindowDpi(control);
    font_ = CreateFontW(Scaled(24), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        FF_SWISS | DEFAULT_PITCH, L"黑体");
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CrawlProc)));
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    RECT client;
    GetClientRect(control, &client);
    width_ = client.right;
    height_ = client.bottom;
    stars_.resize(kStarCount);
    for (Star& star : stars_) star = SeedStar(rand);
    offset_ = height_;
    DWORD start = GetTickCount();
    Frame();
    scrollStep_ = Scaled(ScrollStepFor(GetTickCount() - start));
    SetTimer(control, kCrawlTimer, kCrawlFrameMs, nullptr);
  }

 private:
  static LRESULT CALLBACK CrawlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* crawl = reinterpret_cast<CreditsCrawl*>(GetWindowLongPtrW(control, GWLP_USERDATA));
    if (!crawl) return DefWindowProcW(control, message, wParam, lParam);
    WNDPROC previous = crawl->previous_;
    switch (message) {
      case WM_TIMER:
        if (wParam == kCrawlTimer) crawl->Frame();
        return 0;
      case WM_ERASEBKGND:
        return 1;  // the frame covers everything
      case WM_PAINT:
        crawl->Paint();
        return 0;
      case WM_SIZE:
        crawl->width_ = LOWORD(lParam);
        crawl->height_ = HIWORD(lParam);
        crawl->back_.Release();
        crawl->text_.Release();
        return 0;
      case WM_DESTROY:
        KillTimer(control, kCrawlTimer);
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        SetWindowLongPtrW(control, GWLP_USERDATA, 0);
        delete crawl;
        return CallWindowProcW(previous, control, message, wParam, lParam);
      default:
        return CallWindowProcW(previous, control, message, wParam, lParam);
    }
  }

  void Frame() {
    if (width_ <= 0 || height_ <= 0) return;
    if (!back_.dc() || !text_.dc()) {
      HDC screen = GetDC(control_);
      back_.Make(screen, width_, height_);
      text_.Make(screen, width_, height_);
      ReleaseDC(control_, screen);
      if (!back_.dc() || !text_.dc()) return;
    }
    DrawStars(back_.dc());
    DrawCredits(text_.dc());
    // The text layer in perspective: each row stretched to its width, ORed over the stars so
    // that they show through the black.
    HDC back = back_.dc();
    SetStretchBltMode(back, COLORONCOLOR);
    for (int row = 0; row < height_; ++row) {
      RowSpan span = PerspectiveRow(row, width_, height_);
      if (span.width <= 0) continue;
      StretchBlt(back, span.left, row, span.width, 1, text_.dc(), 0, row, width_, 1, SRCPAINT);
    }
    offset_ -= scrollStep_;
    InvalidateRect(control_, nullptr, FALSE);
  }

  void DrawStars(HDC dc) {
    RECT all{0, 0, width_, height_};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HGDIOBJ pen = SelectObject(dc, GetStockObject(DC_PEN));
    HGDIOBJ brush = SelectObject(dc, GetStockObject(DC_BRUSH));
    for (Star& star : stars_) {
      MoveStar(star, kStarStep);
      ScreenPoint at = ProjectStar(star, width_, height_);
      std::uint8_t shade = StarShade(star.z);
      SetDCPenColor(dc, RGB(shade, shade, shade));
      SetDCBrushColor(dc, RGB(shade, shade, shade));
      Ellipse(dc, at.x, at.y, at.x + Scaled(3), at.y + Scaled(3));
    }
    SelectObject(dc, brush);
    SelectObject(dc, pen);
  }

  int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }

  void DrawCredits(HDC dc) {
    RECT all{0, 0, width_, height_};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ font = SelectObject(dc, font_);
    SIZE line{0, 24};
    GetTextExtentPoint32W(dc, L"A", 1, &line);
    CrawlFrame frame = PlaceCrawlLines(offset_, line.cy, lines_.size());
    for (const CrawlLine& placed : frame.lines) {
      if (placed.y >= height_) break;  // the rest are below the bottom edge
      const std::wstring& text = lines_[placed.index];
      SIZE size{0, 0};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      SetTextColor(dc, RGB(placed.red, placed.green, placed.blue));
      TextOutW(dc, (width_ - size.cx) / 2, placed.y, text.c_str(), static_cast<int>(text.size()));
    }
    SelectObject(dc, font);
    if (frame.restart) offset_ = height_;
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(control_, &paint);
    if (dc && back_.dc()) BitBlt(dc, 0, 0, width_, height_, back_.dc(), 0, 0, SRCCOPY);
    EndPaint(control_, &paint);
  }

  HWND control_ = nullptr;
  WNDPROC previous_ = nullptr;
  HFONT font_ = nullptr;
  int dpi_ = 96;
  std::vector<Star> stars_;
  std::vector<std::wstring> lines_;
  int width_ = 0, height_ = 0;
  int offset_ = 0;
  int scrollStep_ = kFirstScrollStep;
  MemoryCanvas back_;
  MemoryCanvas text_;
};

struct AboutState {
  HINSTANCE module;
  Settings* settings;
  HWND previous;  // the foreground window before the dialog: the user's application
};

// The user's application gets the foreground back while the dialog still exists: once the
// dialog is no longer active, its destruction hands the activation to nobody else.
void Close(HWND dialog, const AboutState* state, INT_PTR result) {
  if (state && state->previous && IsWindow(state->previous)) {
    SetForegroundWindow(state->previous);
  }
  EndDialog(dialog, result);
}

void CentreOnDesktop(HWND dialog) {
  RECT rect, work;
  GetWindowRect(dialog, &rect);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  int x = work.left + (work.right - work.left - (rect.right - rect.left)) / 2;
  int y = work.top + (work.bottom - work.top - (rect.bottom - rect.top)) / 2;
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StartCredits(HWND dialog, HINSTANCE module) {
  HWND control = GetDlgItem(dialog, kCtlAboutCredits);
  if (!control) return;
  auto crawl = std::make_unique<CreditsCrawl>();
  if (auto bytes = FindModuleResource(module, kCreditsResource, kHtmlResource)) {
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    for (const std::string& line : CreditLines(text)) crawl->AddLine(line);
  }
  crawl.release()->Attach(control);  // the control owns it from now on
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* state = reinterpret_cast<AboutState*>(lParam);
      SetWindowLongPtrW(dialog, DWLP_USER, lParam);
      CentreOnDesktop(dialog);
      SetDlgItemTextW(dialog, kCtlAboutVersion, WideFromUtf8(InstalledModuleVersion()).c_str());
      StartCredits(dialog, state->module);
      return TRUE;
    }
    case WM_COMMAND: {
      auto* state = reinterpret_cast<AboutState*>(GetWindowLongPtrW(dialog, DWLP_USER));
      switch (LOWORD(wParam)) {
        case kCtlAboutLicence:
          Close(dialog, state, 1);
          return TRUE;
        case kCtlAboutFeedback:
        case kCtlAboutNews:
          if (state) openUrl(ProductSiteOf(*state->settings));
          Close(dialog, state, 0);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          Close(dialog, state, 0);
          return TRUE;
        default:
          return FALSE;
      }
    }
    default:
      return FALSE;
  }
}

}  // namespace

std::string InstalledModuleVersion() {
  char folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return fileVersionString(std::string(folder) + "\\tvime30.ime");
}

INT_PTR ShowAboutDialog(HINSTANCE module, HWND owner, Settings& settings) {
  AboutState state{module, &settings, GetForegroundWindow()};
  INT_PTR answer = DialogBoxParamW(module, MAKEINTRESOURCEW(kAboutDialogId), owner, AboutDialogProc,
                                   reinterpret_cast<LPARAM>(&state));
  if (answer == 1) ShowLicenceAgreement(module, true, settings);
  return answer;
}

}  // namespace tvime
