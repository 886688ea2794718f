// Text delivery against real windows of this thread (needs a display): what arrives at a Unicode
// and at an ANSI window with the focus, and what does not arrive.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/gbk.h"
#include "gui/gui_host_win.h"

namespace tvime {
namespace {

struct Received {
  UINT message;
  WPARAM wParam;
};
std::vector<Received> g_received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_KEYDOWN:
    case WM_IME_KEYDOWN:
      g_received.push_back({message, wParam});
      return 0;
    default:
      return IsWindowUnicode(window) ? DefWindowProcW(window, message, wParam, lParam)
                                     : DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND CreateTarget(bool unicode) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW unicodeClass{};
    unicodeClass.lpfnWndProc = RecordingProc;
    unicodeClass.hInstance = GetModuleHandleW(nullptr);
    unicodeClass.lpszClassName = L"DeliveryTargetW";
    RegisterClassW(&unicodeClass);
    WNDCLASSA ansiClass{};
    ansiClass.lpfnWndProc = RecordingProc;
    ansiClass.hInstance = GetModuleHandleW(nullptr);
    ansiClass.lpszClassName = "DeliveryTargetA";
    RegisterClassA(&ansiClass);
    registered = true;
  }
  HWND window = unicode ? CreateWindowExW(0, L"DeliveryTargetW", L"target", WS_OVERLAPPEDWINDOW, 10,
                                          10, 200, 100, nullptr, nullptr, nullptr, nullptr)
                        : CreateWindowExA(0, "DeliveryTargetA", "target", WS_OVERLAPPEDWINDOW, 10,
                                          10, 200, 100, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  SetFocus(window);
  return window;
}

// Delivers the posted messages of this thread; the loop matches the target's kind.
void Pump(bool unicode) {
  MSG message;
  auto peek = unicode ? PeekMessageW : PeekMessageA;
  auto dispatch = unicode ? DispatchMessageW : DispatchMessageA;
  while (peek(&message, nullptr, 0, 0, PM_REMOVE)) dispatch(&message);
}

class DeliveryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (target_) DestroyWindow(target_);
    g_received.clear();
  }
  void Target(bool unicode) {
    target_ = CreateTarget(unicode);
    ASSERT_TRUE(target_);
    ASSERT_EQ(GetFocus(), target_);
    Pump(unicode);
    g_received.clear();
  }
  HWND target_ = nullptr;
};

TEST_F(DeliveryTest, UnicodeWindowGetsOneWmCharPerUtf16UnitOfALongCommitWhole) {
  // More than the 128 UTF-16 units of a fixed buffer: nothing may be cut or lost.
  std::string text;
  for (int i = 0; i < 150; ++i) text += "中";
  text += "文";
  Target(true);
  Delivery delivery;
  ASSERT_TRUE(DeliverText(Utf8ToGbk(text), &delivery));
  EXPECT_EQ(delivery.target, target_);
  EXPECT_TRUE(delivery.unicode);
  EXPECT_EQ(delivery.layout & 0xFFFF, 0x0804u);
  Pump(true);
  ASSERT_EQ(g_received.size(), 151u);
  for (const Received& received : g_received) {
    EXPECT_EQ(received.message, static_cast<UINT>(WM_CHAR));
  }
  EXPECT_EQ(g_received[0].wParam, 0x4E2Du);
  EXPECT_EQ(g_received[150].wParam, 0x6587u);
}

TEST_F(DeliveryTest, AnsiWindowGetsOneImeCharPerGbkCharacter) {
  Target(false);
  Delivery delivery;
  ASSERT_TRUE(DeliverText(Utf8ToGbk("a中b文"), &delivery));
  EXPECT_FALSE(delivery.unicode);
  Pump(false);
  std::vector<WPARAM> values;
  for (const Received& received : g_received) {
    EXPECT_EQ(received.message, static_cast<UINT>(WM_IME_CHAR));
    values.push_back(received.wParam);
  }
  EXPECT_EQ(values, (std::vector<WPARAM>{0x61, 0xD6D0, 0x62, 0xCEC4}));
}

TEST_F(DeliveryTest, NothingArrivesForBackspaceResultsOrWithoutFocus) {
  Target(true);
  EXPECT_FALSE(DeliverText("\b"));
  SetFocus(nullptr);
  EXPECT_FALSE(DeliverText(Utf8ToGbk("中")));
  Pump(true);
  EXPECT_TRUE(g_received.empty());
}

// To a Unicode window, as WM_KEYDOWN: the session host's test below.
TEST_F(DeliveryTest, AKeyGoesBackToAnAnsiWindowAsImeKeyDown) {
  Target(false);
  DeliverKey(VK_BACK);
  Pump(false);
  ASSERT_EQ(g_received.size(), 1u);
  EXPECT_EQ(g_received[0].message, static_cast<UINT>(WM_IME_KEYDOWN));
  EXPECT_EQ(g_received[0].wParam, static_cast<WPARAM>(VK_BACK));
}

TEST_F(DeliveryTest, SessionHostRoutesCommitsKeysAndRepaints) {
  Target(true);
  GuiSessionHost host;
  host.Commit(0, Utf8ToGbk("中"));
  host.PanelChanged(0);  // a repaint only
  host.ReturnKey(0, VK_RETURN);
  Pump(true);
  ASSERT_EQ(g_received.size(), 2u);
  EXPECT_EQ(g_received[0].wParam, 0x4E2Du);
  EXPECT_EQ(g_received[1].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(g_received[1].wParam, static_cast<WPARAM>(VK_RETURN));
}

}  // namespace
}  // namespace tvime
