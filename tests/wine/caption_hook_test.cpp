// The caption hook on a window of the test's own, whose own procedure records
// every message that reaches it.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "caption/caption_geometry.h"
#include "caption/win32/caption_hook.h"
#include "caption/win32/caption_paint.h"
#include "platform/win32/dpi.h"
#include "tests/wine/test_util.h"

namespace quorvel::caption {
namespace {

constexpr LRESULT kRecorderAnswer = 0x5A;

struct Seen {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  bool hooked;     // the hook was still in place
  bool region_ok;  // WM_NCPAINT: the window less its caption, in screen coordinates
};
std::vector<Seen> seen;
POINT caption_point, frame_point;  // the caption's last point, the frame's first below it

LRESULT CALLBACK Recorder(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto region = reinterpret_cast<HRGN>(wparam);
  seen.push_back({message, wparam, lparam, ::GetPropW(hwnd, L"OldMeProc") != nullptr,
                  message != WM_NCPAINT ||
                      (wparam > 1 && !::PtInRegion(region, caption_point.x, caption_point.y) &&
                       ::PtInRegion(region, frame_point.x, frame_point.y))});
  // A real move or close would start a modal loop or end the window.
  return message == WM_SYSCOMMAND ? kRecorderAnswer
                                  : ::DefWindowProcW(hwnd, message, wparam, lparam);
}

class CaptionHook : public ::testing::Test {
 protected:
  void SetUp() override {
    const WNDCLASSW window_class{0,       Recorder, 0,       0,       ::GetModuleHandleW(nullptr),
                                 nullptr, nullptr,  nullptr, nullptr, L"CaptionHookTest"};
    ::RegisterClassW(&window_class);
    hwnd_ = ::CreateWindowExW(0, L"CaptionHookTest", L"Hooked", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                              200, nullptr, nullptr, window_class.hInstance, nullptr);
    owned_.reset(hwnd_);
    const auto layout = LayOutCaption(CaptionInputOf(hwnd_, false, win::WindowDpi(hwnd_)));
    ASSERT_TRUE(hwnd_ && layout);
    RECT window;
    ::GetWindowRect(hwnd_, &window);
    const Box& caption = layout->excluded;
    caption_point = {window.left + caption.right - 1, window.top + caption.bottom - 1};
    frame_point = {window.left + caption.left, window.top + caption.bottom};
    seen.clear();
    own_ = ::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC);
  }
  void ExpectProcedure(LONG_PTR procedure, LONG_PTR property) {
    EXPECT_EQ(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC), procedure);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropW(hwnd_, L"OldMeProc")), property);
  }

  HWND hwnd_ = nullptr;
  win::UniqueWindow owned_;
  LONG_PTR own_ = 0;
};

TEST_F(CaptionHook, HookAndUnhookSwapTheProcedureAndTheProperty) {
  UnhookCaption(hwnd_);  // never hooked: nothing changes
  ExpectProcedure(own_, 0);
  HookCaption(hwnd_);
  HookCaption(hwnd_);  // a second hook changes nothing
  ExpectProcedure(reinterpret_cast<LONG_PTR>(CaptionWndProc), own_);
  UnhookCaption(hwnd_);
  ExpectProcedure(own_, 0);
}

TEST_F(CaptionHook, WhatReachesTheWindowsOwnProcedure) {
  HookCaption(hwnd_);
  struct Case {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    std::vector<UINT> reached;  // the queries of the icon and the title left out
    LRESULT result;             // -1: not compared
  };
  const Case cases[] = {
      {WM_NCPAINT, 1, 0, {WM_NCPAINT}, -1},
      {WM_NCACTIVATE, 0, 0, {}, 1},
      {WM_KILLFOCUS, 0, 0, {}, 1},
      {WM_NCLBUTTONDOWN, HTCAPTION, 0, {WM_NCPAINT, WM_NCPAINT, WM_SYSCOMMAND}, kRecorderAnswer},
      {WM_NCLBUTTONDOWN, HTSYSMENU, 0, {WM_NCPAINT}, -1},
      {WM_NCRBUTTONDOWN, HTCAPTION, 0, {WM_NCPAINT}, -1},
      {WM_SYSCOMMAND, SC_MOUSEMENU, 0, {WM_NCPAINT}, -1},
      {WM_SYSCOMMAND, SC_CLOSE, 0, {WM_NCPAINT, WM_SYSCOMMAND}, kRecorderAnswer},
      {WM_SETCURSOR, 0, MAKELPARAM(HTTOP, WM_MOUSEMOVE), {}, 1},
      {WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), {WM_SETCURSOR}, -1},
      {WM_SIZE, 0, MAKELPARAM(290, 160), {WM_NCPAINT, WM_SIZE}, -1},
      {WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"A new title"), {WM_SETTEXT, WM_NCPAINT}, TRUE},
      {WM_NULL, 0, 0, {WM_NULL}, -1},
  };
  for (const Case& c : cases) {
    seen.clear();
    const LRESULT result = ::SendMessageW(hwnd_, c.message, c.wparam, c.lparam);
    SCOPED_TRACE(testing::Message() << std::hex << c.message << " " << c.wparam);
    std::vector<UINT> reached;
    for (const Seen& record : seen) {
      if (record.message != WM_GETICON && record.message != WM_GETTEXT)
        reached.push_back(record.message);
      // A caption drag becomes SC_MOVE.
      EXPECT_TRUE(record.message != WM_SYSCOMMAND || c.message != WM_NCLBUTTONDOWN ||
                  (record.wparam == SC_MOVE && record.lparam == 0));
      EXPECT_TRUE(record.region_ok);
    }
    EXPECT_EQ(reached, c.reached);
    EXPECT_TRUE(c.result == -1 || result == c.result);
  }
  EXPECT_EQ(test::WindowText(hwnd_), L"A new title");
  // The icon is asked for once; the query itself asks no more.
  seen.clear();
  ::SendMessageW(hwnd_, WM_NULL, 0, 0);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_GETICON));
  UnhookCaption(hwnd_);
}

// Hooked once the system has painted its frame on the screen: the next activation paints the
// caption at once.
TEST_F(CaptionHook, AWindowHookedOnTheScreenIsPaintedAtItsNextActivation) {
  ::ShowWindow(hwnd_, SW_SHOW);
  ::UpdateWindow(hwnd_);
  HookCaption(hwnd_);
  ::SendMessageW(hwnd_, WM_NCACTIVATE, FALSE, 0);
  // What is painted reaches the screen as this thread takes its messages.
  for (int wait = 0; wait < 20; ++wait, ::Sleep(10))
    for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
      ::DispatchMessageW(&message);
  test::ExpectPaintedCaption(hwnd_, false, 0);
  UnhookCaption(hwnd_);
}

TEST_F(CaptionHook, AWindowDestroyedWhileHookedGetsItsOwnProcedureBack) {
  HookCaption(hwnd_);
  ::DestroyWindow(owned_.release());
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().message, static_cast<UINT>(WM_NCDESTROY));
  EXPECT_FALSE(seen.back().hooked);
}

TEST_F(CaptionHook, TenThousandPassesLeaveNoObjectBehind) {
  HookCaption(hwnd_);
  ::SetWindowTextW(hwnd_, L"Objects");  // a first pass makes what the system keeps
  ::SendMessageW(hwnd_, WM_NCACTIVATE, 0, 0);
  const int room = test::RoomForGdiObjects();
  ASSERT_GT(room, 10000) << "the system has no limit to measure against";
  for (int pass = 0; pass < 5000; ++pass) {
    ::SendMessageW(hwnd_, WM_NCPAINT, 1, 0);
    ::SendMessageW(hwnd_, WM_NCACTIVATE, pass % 2, 0);
  }
  EXPECT_EQ(test::RoomForGdiObjects(), room);
  UnhookCaption(hwnd_);
}

}  // namespace
}  // namespace quorvel::caption
