// The About dialog: its lifecycle in this process, through the caption
// painter's hook notices, and its form in the real program.
#include <gtest/gtest.h>

#include <cstdlib>

#include "caption/win32/caption_hook.h"
#include "dialogs/dialog_layouts.h"
#include "dialogs/win32/about_dialog.h"
#include "launcher/main_layout.h"
#include "tests/wine/test_util.h"

namespace quorvel::test {
namespace {

struct HookNotice {
  HWND hwnd;
  bool hooked;
  bool window_there;
  bool own_procedure;  // the window has the procedure of its class again
  bool operator==(const HookNotice&) const = default;
};
std::vector<HookNotice> notices;

void Note(HWND hwnd, bool hooked) {
  notices.push_back({hwnd, hooked, ::IsWindow(hwnd) != FALSE,
                     ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) ==
                         static_cast<LONG_PTR>(::GetClassLongPtrW(hwnd, GCLP_WNDPROC))});
}

void Close(HWND dialog) { ::SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }
void PressOk(HWND dialog) { ::SendMessageW(::GetDlgItem(dialog, dialogs::kIdOk), BM_CLICK, 0, 0); }

TEST(AboutDialog, HooksOncePerLoadAndUnhooksBeforeTheWindowGoes) {
  notices.clear();
  caption::ObserveHooks(Note);
  HWND first = nullptr, second = nullptr;
  {
    dialogs::AboutDialog about(::GetModuleHandleW(nullptr));
    about.Show();
    first = about.hwnd();
    ASSERT_TRUE(first && ::IsWindowVisible(first));
    PressOk(first);
    EXPECT_FALSE(::IsWindowVisible(first));
    about.Show();
    about.Show();  // while visible: the same window, to the front
    EXPECT_TRUE(about.hwnd() == first && ::IsWindowVisible(first));
    ::SendMessageW(first, WM_COMMAND, IDCANCEL, 0);  // Escape hides too
    EXPECT_FALSE(::IsWindowVisible(first));
    about.Show();
    Close(first);
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_EQ(about.hwnd(), nullptr);
    about.Show();
    second = about.hwnd();
    ASSERT_TRUE(second && ::IsWindowVisible(second));
  }  // the program's end: the window goes without the unload step
  caption::ObserveHooks(nullptr);
  EXPECT_EQ(notices, (std::vector<HookNotice>{{first, true, true, false},
                                              {first, false, true, true},
                                              {second, true, true, false},
                                              {second, false, true, true}}));
}

// The windows of this thread, top-level and child.
int ThreadWindows() {
  int count = 0;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM total) {
        ++*reinterpret_cast<int*>(total);
        ::EnumChildWindows(
            hwnd, [](HWND, LPARAM all) { return ++*reinterpret_cast<int*>(all), TRUE; }, total);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(AboutDialog, HundredClosesAndHundredOksLeaveNoObjectBehind) {
  dialogs::AboutDialog about(::GetModuleHandleW(nullptr));
  about.Show();
  PressOk(about.hwnd());
  const int room = RoomForGdiObjects();
  const int windows = ThreadWindows();
  for (int cycle = 0; cycle < 100; ++cycle) {
    about.Show();
    PressOk(about.hwnd());
    about.Show();
    Close(about.hwnd());
  }
  about.Show();
  PressOk(about.hwnd());
  EXPECT_EQ(ThreadWindows(), windows);
  EXPECT_EQ(RoomForGdiObjects(), room);
}

// In the real program, at 96 DPI and again at 144.
TEST(MainWindowDpi, AboutDialogShowsItsFormUnderAPaintedCaption) {
  const char* expected = std::getenv("QUORVEL_EXPECT_DPI");
  const int dpi = expected ? std::atoi(expected) : 96;
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  const auto open = [&] {
    Click(app.Item(launcher::kIdCommand2));
    HWND dialog = nullptr;
    EXPECT_TRUE(WaitUntil([&] {
      const std::vector<HWND> found = app.Windows(dialogs::kAboutDialogClass);
      dialog = found.size() == 1 && ::IsWindowVisible(found[0]) ? found[0] : nullptr;
      return dialog != nullptr;
    }));
    return dialog;
  };
  HWND dialog = open();
  ASSERT_TRUE(dialog);
  EXPECT_EQ(WindowText(dialog), Widen(dialogs::kAboutCaption));
  EXPECT_EQ(::GetWindowLongW(dialog, GWL_STYLE) &
                (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  // Out of the taskbar through a hidden owner, not the main window, and with
  // a normal caption.
  HWND owner = ::GetWindow(dialog, GW_OWNER);
  EXPECT_TRUE(owner && owner != app.window() && !::IsWindowVisible(owner));
  EXPECT_EQ(::GetWindowLongW(dialog, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), 0);
  RECT client;
  ::GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, layout::TwipsToPixels(dialogs::kAboutClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, layout::TwipsToPixels(dialogs::kAboutClientHeightTwips, dpi));
  EXPECT_TRUE(dpi != 96 || (client.right == 431 && client.bottom == 331));
  ASSERT_TRUE(app.BringToFront(dialog));
  ExpectLayout(dialog, dialogs::kAboutControls, dpi, /*inside=*/true);
  ExpectPaintedCaption(dialog, true);

  // Closed through its caption bar and opened again: a new window, painted.
  ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }));
  dialog = open();
  ASSERT_TRUE(dialog && app.BringToFront(dialog));
  ExpectPaintedCaption(dialog, true);
  Click(::GetDlgItem(dialog, dialogs::kIdOk));
  EXPECT_FALSE(::IsWindowVisible(dialog));
  EXPECT_EQ(open(), dialog);
}

}  // namespace
}  // namespace quorvel::test
