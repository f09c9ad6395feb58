// The caption hook on a window of the test's own, whose own procedure records
// every message that reaches it.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "caption/caption_geometry.h"
#include "caption/win32/caption_hook.h"
#include "caption/win32/caption_paint.h"
#include "tests/wine/test_util.h"

namespace quorvel::caption {
namespace {

constexpr LRESULT kRecorderAnswer = 0x5A;

struct Seen {
  UINT message;
  WPARAM wparam;
  LPARAM lparam;
  bool caption_in_region = false;  // WM_NCPAINT: the region holds a caption point
  bool frame_in_region = false;    // and a point of the frame below the caption
  bool hooked = false;             // the hook was still in place
};
std::vector<Seen> seen;
POINT caption_point, frame_point;  // screen coordinates, set by each test

LRESULT CALLBACK Recorder(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  Seen record{message, wparam, lparam};
  record.hooked = ::GetPropW(hwnd, L"OldMeProc") != nullptr;
  if (message == WM_NCPAINT && wparam > 1) {
    const auto region = reinterpret_cast<HRGN>(wparam);
    record.caption_in_region = ::PtInRegion(region, caption_point.x, caption_point.y);
    record.frame_in_region = ::PtInRegion(region, frame_point.x, frame_point.y);
  }
  seen.push_back(record);
  // A real move or close would start a modal loop or end the window.
  if (message == WM_SYSCOMMAND) return kRecorderAnswer;
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

class CaptionHook : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = Recorder;
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"CaptionHookTest";
    ::RegisterClassW(&window_class);
    hwnd_ = ::CreateWindowExW(0, L"CaptionHookTest", L"Hooked", WS_OVERLAPPEDWINDOW, 10, 10, 300,
                              200, nullptr, nullptr, window_class.hInstance, nullptr);
    ASSERT_TRUE(hwnd_);
    RECT window;
    ::GetWindowRect(hwnd_, &window);
    const auto layout = LayOutCaption(CaptionInputOf(hwnd_, false));
    ASSERT_TRUE(layout);
    const Box& caption = layout->excluded;
    caption_point = {window.left + caption.right - 1, window.top + caption.bottom - 1};
    frame_point = {window.left + caption.left, window.top + caption.bottom};
    seen.clear();
  }
  void TearDown() override {
    if (::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
  }

  // The messages that reached the window's own procedure, the queries of
  // the icon and the title left out.
  std::vector<UINT> Reached() const {
    std::vector<UINT> messages;
    for (const Seen& record : seen)
      if (record.message != WM_GETICON && record.message != WM_GETTEXT)
        messages.push_back(record.message);
    return messages;
  }

  HWND hwnd_ = nullptr;
};

TEST_F(CaptionHook, HookAndUnhookSwapTheProcedureAndTheProperty) {
  const LONG_PTR own = ::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC);
  UnhookCaption(hwnd_);  // never hooked: nothing changes
  EXPECT_EQ(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC), own);
  HookCaption(hwnd_);
  HookCaption(hwnd_);  // a second hook changes nothing
  EXPECT_EQ(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(CaptionWndProc));
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(::GetPropW(hwnd_, L"OldMeProc")), own);
  UnhookCaption(hwnd_);
  EXPECT_EQ(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC), own);
  EXPECT_EQ(::GetPropW(hwnd_, L"OldMeProc"), nullptr);
  UnhookCaption(hwnd_);
  EXPECT_EQ(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC), own);
}

TEST_F(CaptionHook, WhatReachesTheWindowsOwnProcedure) {
  HookCaption(hwnd_);
  struct Case {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    std::vector<UINT> reached;
    LRESULT result;  // -1: not compared
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
      {WM_NULL, 0, 0, {WM_NULL}, -1},
  };
  for (const Case& c : cases) {
    seen.clear();
    const LRESULT result = ::SendMessageW(hwnd_, c.message, c.wparam, c.lparam);
    EXPECT_EQ(Reached(), c.reached) << std::hex << c.message << " " << c.wparam;
    if (c.result != -1) {
      EXPECT_EQ(result, c.result) << std::hex << c.message;
    }
    for (const Seen& record : seen) {
      if (record.message == WM_SYSCOMMAND && c.message == WM_NCLBUTTONDOWN) {
        EXPECT_EQ(record.wparam, static_cast<WPARAM>(SC_MOVE));
        EXPECT_EQ(record.lparam, 0);
      }
      if (record.message != WM_NCPAINT) continue;
      // The window less its caption, in screen coordinates.
      EXPECT_FALSE(record.caption_in_region) << std::hex << c.message;
      EXPECT_TRUE(record.frame_in_region) << std::hex << c.message;
    }
  }
  // The icon is asked for once; the query itself asks no more.
  seen.clear();
  ::SendMessageW(hwnd_, WM_NULL, 0, 0);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].message, static_cast<UINT>(WM_GETICON));
  UnhookCaption(hwnd_);
}

TEST_F(CaptionHook, ATitleSetWhileHookedIsStoredAndPainted) {
  HookCaption(hwnd_);
  ::SetWindowTextW(hwnd_, L"A new title");
  EXPECT_EQ(Reached(), (std::vector<UINT>{WM_SETTEXT, WM_NCPAINT}));
  wchar_t title[32] = {};
  ::GetWindowTextW(hwnd_, title, 32);
  EXPECT_STREQ(title, L"A new title");
  UnhookCaption(hwnd_);
}

TEST_F(CaptionHook, AWindowDestroyedWhileHookedGetsItsOwnProcedureBack) {
  HookCaption(hwnd_);
  ::DestroyWindow(hwnd_);
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
