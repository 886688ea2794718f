// The panel windows at other display scales, against Wine's real windows (needs a display). Wine
// reports one monitor at the prefix's dpi and never sends WM_DPICHANGED by itself: the tests send
// it as Windows does when a window moves to a monitor of another scale.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "base/dpi_win.h"
#include "base/gdi_scope_win.h"
#include "panels/panel_windows_win.h"
#include "session/button_bar.h"
#include "session/status_bar.h"
#include "session/stroke_subpanel.h"
#include "tests/support/panel_mouse_win.h"
#include "tests/support/panel_windows_fixture_win.h"

namespace tvime {
namespace {

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

// What WM_DPICHANGED carries: the new dpi both ways, and the rectangle Windows suggests.
void SendDpiChanged(HWND window, int dpi, RECT suggested) {
  SendMessageW(window, kDpiChangedMessage, MAKEWPARAM(dpi, dpi),
               reinterpret_cast<LPARAM>(&suggested));
}

class PanelDpiTest : public testing::PanelWindowsFixture {
 protected:
  static void SetUpTestSuite() { SetUpPanelWindows(store, L"TvimeDpi_COMP", L"TvimeDpi_STATUS"); }

  void TearDown() override {
    // Every test leaves the windows at the monitor's own scale and the panel at 100 %.
    store.WriteInt(SettingsRoot::User, "PanelSize", 100);
    RECT rect;
    GetWindowRect(composition, &rect);
    SendDpiChanged(composition, WindowDpi(nullptr), rect);
    GetWindowRect(status, &rect);
    SendDpiChanged(status, WindowDpi(nullptr), rect);
  }

  static inline MemorySettingsStore store;
};

TEST_F(PanelDpiTest, TheWindowsAreTheirLayoutAtTheMonitorsScale) {
  int dpi = WindowDpi(composition);
  EXPECT_EQ(dpi, WindowDpi(nullptr));  // per-monitor aware: the monitor's, not a stretched 96
  LayoutScale scale{dpi};
  EXPECT_EQ(panel->scale(), scale);
  SIZE client = ClientSize(composition);
  EXPECT_EQ(client.cx, scale.Px(kPanelWidth));
  EXPECT_EQ(client.cy, scale.Px(kPanelHeight));
  client = ClientSize(status);
  EXPECT_EQ(client.cx, scale.Px(kStatusBarWidth));
  EXPECT_EQ(client.cy, scale.Px(kStatusBarHeight));
}

TEST_F(PanelDpiTest, DpiChangedTakesTheSuggestedPlaceResizesAndClicksFollow) {
  SendDpiChanged(composition, 144, {100, 120, 100 + 435, 120 + 234});
  RECT rect;
  GetWindowRect(composition, &rect);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.top, 120);
  SIZE client = ClientSize(composition);
  EXPECT_EQ(client.cx, 435);
  EXPECT_EQ(client.cy, 234);
  EXPECT_EQ(panel->scale().dpi, 144);
  EXPECT_EQ(news->scale().dpi, 144);

  // The tooltips cover the buttons where they are drawn now.
  const auto& buttons = panel->buttonBar().buttons();
  for (size_t i = 0; i < buttons.size(); ++i) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = composition;
    tool.uId = i;
    ASSERT_TRUE(
        SendMessageW(windows.tooltips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    Rect drawn = panel->scale().Of(buttons[i].rect);
    EXPECT_EQ(tool.rect.left, drawn.left) << i;
    EXPECT_EQ(tool.rect.bottom, drawn.bottom) << i;
  }

  EXPECT_EQ(SendMessageW(windows.tooltips, TTM_GETMAXTIPWIDTH, 0, 0), 225);

  // Clicks at the scaled buttons type: 竖 then 折.
  panel->Apply(1, UserAction::Run(kCmdClear));
  for (int stroke : {1, 4}) {
    Rect r = panel->scale().Of(StrokeButtonRect(stroke));
    testing::PointAndSend(composition, {(r.left + r.right) / 2, (r.top + r.bottom) / 2},
                          {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP});
  }
  EXPECT_EQ(panel->state().inputCodes, "sg");
  panel->Apply(1, UserAction::Run(kCmdClear));
}

TEST_F(PanelDpiTest, ThePanelSizeMultipliesTheMonitorsScale) {
  store.WriteInt(SettingsRoot::User, "PanelSize", 150);
  RECT rect;
  GetWindowRect(composition, &rect);
  SendDpiChanged(composition, 144, rect);
  SIZE client = ClientSize(composition);
  EXPECT_EQ(client.cx, 653);  // 290 x 1.5 x 1.5, rounded
  EXPECT_EQ(client.cy, 351);
  EXPECT_EQ(panel->scale().dpi, 216);
  // The status bar has no panel size: it follows the monitor only.
  GetWindowRect(status, &rect);
  SendDpiChanged(status, 144, rect);
  client = ClientSize(status);
  EXPECT_EQ(client.cx, 300);
  EXPECT_EQ(client.cy, 30);
}

TEST_F(PanelDpiTest, PanelsArePerMonitorAwareInAHostThatIsNot) {
  // The thread of a host that declared nothing; the panels the module makes there are
  // per-monitor aware all the same, and the thread keeps its own awareness afterwards.
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto setContext =
      ExportedFunction<HANDLE(WINAPI*)(HANDLE)>(user32, "SetThreadDpiAwarenessContext");
  auto windowContext =
      ExportedFunction<HANDLE(WINAPI*)(HWND)>(user32, "GetWindowDpiAwarenessContext");
  auto awarenessOf =
      ExportedFunction<int(WINAPI*)(HANDLE)>(user32, "GetAwarenessFromDpiAwarenessContext");
  auto threadContext = ExportedFunction<HANDLE(WINAPI*)()>(user32, "GetThreadDpiAwarenessContext");
  if (!setContext || !windowContext || !awarenessOf || !threadContext) {
    GTEST_SKIP() << "this Wine has no per-thread dpi awareness";
  }
  constexpr int kUnaware = 0, kPerMonitor = 2;
  HANDLE previous = setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1)));  // unaware
  ASSERT_TRUE(previous);
  ASSERT_EQ(awarenessOf(threadContext()), kUnaware);
  HWND another = CreateCompositionWindow(instance, L"TvimeDpi_COMP", owner);
  HWND bar = CreateStatusBarWindow(instance, L"TvimeDpi_STATUS", owner);
  EXPECT_EQ(awarenessOf(threadContext()), kUnaware);
  setContext(previous);
  ASSERT_TRUE(another);
  ASSERT_TRUE(bar);
  EXPECT_EQ(awarenessOf(windowContext(another)), kPerMonitor);
  EXPECT_EQ(awarenessOf(windowContext(bar)), kPerMonitor);
  DestroyWindow(another);
  DestroyWindow(bar);
  windows.composition = composition;  // the one the other tests use
  windows.status = status;
}

TEST_F(PanelDpiTest, TheDrawingIsScaledLikeTheHitTesting) {
  // The stroke area's 2-unit frame, drawn at 200 %: its left edge is at the scaled place, 4
  // pixels wide, in the frame's blue; the 96-dpi place inside it is not.
  constexpr int kWidth = 580, kHeight = 312;
  WindowDc screen(nullptr);
  MemoryDc dc(screen.get());
  GdiObject<HBITMAP> pixels(CreateCompatibleBitmap(screen.get(), kWidth, kHeight));
  Selected selected(dc.get(), pixels.get());
  RECT all{0, 0, kWidth, kHeight};
  FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawList list{DrawFrame{{1, 78, 131, 129}, kFrameBlue, 2}};
  RenderDrawList(dc.get(), list, *artwork, LayoutScale{192});
  EXPECT_EQ(GetPixel(dc.get(), 2, 200), RGB(0, 0, 128));
  EXPECT_EQ(GetPixel(dc.get(), 100, 156), RGB(0, 0, 128));     // top edge at 78 x 2
  EXPECT_EQ(GetPixel(dc.get(), 100, 78), RGB(255, 255, 255));  // the 96-dpi top edge
  // Text in the candidate font grows with the scale.
  TextSize small = measure->Measure(Font::Candidate, "\xD6\xD0");  // 中
  SIZE large{};
  {
    Selected font(dc.get(), artwork->FontOf(Font::Candidate, LayoutScale{192}));
    GetTextExtentPoint32W(dc.get(), L"中", 1, &large);
  }
  EXPECT_GE(large.cx, 2 * small.width - 2);
  EXPECT_LE(large.cx, 2 * small.width + 2);
}

}  // namespace
}  // namespace tvime
