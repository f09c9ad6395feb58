// The About dialog's lifecycle through the caption painter's hook notices, and
// in the real program its form and the option dialogs': frames, layout, what
// they restore and store, one instance each, the keyboard and the launch.
#include <gtest/gtest.h>

#include "caption/win32/caption_hook.h"
#include "dialogs/dialog_layouts.h"
#include "dialogs/win32/about_dialog.h"
#include "dialogs/win32/option_dialog.h"
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

int ThreadWindows() {  // top-level: a child goes with its parent
  static int count;
  count = 0;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(), [](HWND, LPARAM) CALLBACK -> BOOL { return ++count; }, 0);
  return count;
}

TEST(AboutDialog, HundredClosesAndHundredOksLeaveNoObjectBehind) {
  dialogs::AboutDialog about(::GetModuleHandleW(nullptr));
  about.Show();
  PressOk(about.hwnd());
  const int room = RoomForGdiObjects(), windows = ThreadWindows();
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

// In the real program, at the screen's DPI (96, and again at 144).
TEST(AboutDialog, ShowsItsFormUnderAPaintedCaptionAtTheScreenDpi) {
  const int dpi = ExpectedDpi();
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  const auto open = [&] {
    return app.Open(launcher::kIdCommand2, dialogs::kAboutDialogClass, dialogs::kAboutCaption);
  };
  HWND dialog = open();
  ASSERT_TRUE(dialog && app.BringToFront(dialog));
  ExpectLayout(dialog, dialogs::kAboutControls, dialogs::kAboutClientWidthTwips,
               dialogs::kAboutClientHeightTwips, dpi, /*inside=*/true);
  ExpectPaintedCaption(dialog, true);
  EXPECT_EQ(::GetWindowLongW(dialog, GWL_STYLE) &
                (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  // Out of the taskbar through a hidden owner, with a normal caption.
  HWND owner = ::GetWindow(dialog, GW_OWNER);
  EXPECT_TRUE(owner && owner != app.window() && !::IsWindowVisible(owner));
  EXPECT_EQ(::GetWindowLongW(dialog, GWL_EXSTYLE) & (WS_EX_TOOLWINDOW | WS_EX_APPWINDOW), 0);

  // Hidden by OK and opened again: the same window, alone.
  Click(::GetDlgItem(dialog, dialogs::kIdOk));
  EXPECT_FALSE(::IsWindowVisible(dialog));
  EXPECT_EQ(open(), dialog);
  EXPECT_EQ(app.Windows(dialogs::kAboutDialogClass).size(), 1u);
}

using dialogs::kJoystickTypeForm;
using dialogs::kResolutionForm;
using dialogs::OptionDialogForm;
using Names = std::vector<std::string>;

HWND Open(const RunningQuorvel& app, const OptionDialogForm& form) {
  return app.Open(&form == &kJoystickTypeForm ? launcher::kIdCommand3 : launcher::kIdCommand4,
                  dialogs::kOptionDialogClass, form.caption);
}

HWND Item(HWND dialog, const OptionDialogForm& form, std::string_view name) {
  return ::GetDlgItem(dialog, layout::Find(form.controls, name)->id);
}

Names Selected(HWND dialog, const OptionDialogForm& form) {
  Names names;
  for (const dialogs::OptionRow& row : form.rows)
    if (IsChecked(Item(dialog, form, row.button))) names.emplace_back(row.button);
  return names;
}

void Choose(HWND dialog, const OptionDialogForm& form, std::string_view button) {
  if (!button.empty()) Click(Item(dialog, form, button));
  Click(::GetDlgItem(dialog, dialogs::kIdOk));
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 5s));
}

// "gamepdpro " and "1024 860 " (not 768) with their trailing blanks, and the
// third N64 button, whose name is Option24.
TEST(OptionDialogs, ChosenRowsSurviveARestartAndReachTheLaunch) {
  QuorvelFolder folder({L"demo.sms"});
  {
    RunningQuorvel app(folder);
    ASSERT_TRUE(app.window());
    Choose(Open(app, kJoystickTypeForm), kJoystickTypeForm, "Option10");
    Choose(Open(app, kResolutionForm), kResolutionForm, "Option5");
  }
  EXPECT_EQ(folder.Setting("Joystick", "type"), "gamepdpro ");
  EXPECT_EQ(folder.Setting("Video", "res"), "1024 860 ");

  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  HWND resolution = Open(app, kResolutionForm), joystick = Open(app, kJoystickTypeForm);
  ASSERT_TRUE(resolution && joystick);
  EXPECT_EQ(Selected(resolution, kResolutionForm), Names{"Option5"});
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), Names{"Option10"});
  Choose(joystick, kJoystickTypeForm, "Option24");
  Click(app.Item(launcher::kIdOption2));  // Joystick
  Send(app.Item(launcher::kIdFile1), LB_SETCURSEL, 0);
  ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
  const std::vector<KxRecord> records = folder.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, u"kx demo.sms -joy n64lpt3 -res 1024 860 ");
}

TEST(OptionDialogs, OneInstanceEachFramelessAtItsPixelsAndDrivenByTheKeyboard) {
  QuorvelFolder folder;
  folder.WriteSettings("[Video]\r\nres=\"320 240 \"\r\n");
  const auto stored = [&] { return folder.Setting("Joystick", "type"); };
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  // Nothing stored selects nothing, and OK then stores nothing.
  HWND joystick = Open(app, kJoystickTypeForm);
  ASSERT_TRUE(joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), Names{});
  Choose(joystick, kJoystickTypeForm, "");
  EXPECT_EQ(stored(), "(absent)");
  // Shown again after OK, it is as it was left; closed by WM_CLOSE (Alt+F4) it
  // stores nothing and unloads, and its next showing reads the file again.
  folder.WriteSettings("[Joystick]\r\ntype=\"sidewinder \"\r\n[Video]\r\nres=\"320 240 \"\r\n");
  EXPECT_EQ(Open(app, kJoystickTypeForm), joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), Names{});
  Click(Item(joystick, kJoystickTypeForm, "Option1"));
  Send(joystick, WM_CLOSE);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(joystick); }, 5s));
  EXPECT_EQ(stored(), "sidewinder ");
  joystick = Open(app, kJoystickTypeForm);
  ASSERT_TRUE(joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), Names{"Option8"});
  // Pressed again while shown: the same window, not loaded again.
  folder.WriteSettings("[Joystick]\r\ntype=\"segapci \"\r\n[Video]\r\nres=\"320 240 \"\r\n");
  EXPECT_EQ(Open(app, kJoystickTypeForm), joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), Names{"Option8"});
  // A click stores nothing and clears the other column's button; OK stores.
  Click(Item(joystick, kJoystickTypeForm, "Option11"));
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), Names{"Option11"});
  EXPECT_EQ(stored(), "segapci ");
  Choose(joystick, kJoystickTypeForm, "");
  EXPECT_EQ(stored(), "grip ");

  for (const OptionDialogForm* form : {&kJoystickTypeForm, &kResolutionForm}) {
    SCOPED_TRACE(std::string(form->caption));
    HWND dialog = Open(app, *form);
    ASSERT_TRUE(dialog);
    const int dpi = static_cast<int>(::GetDpiForWindow(dialog));
    EXPECT_EQ(dpi, ExpectedDpi());
    // No frame, no taskbar entry: no caption, border or edge, and a tool window.
    EXPECT_FALSE(::GetWindowLongW(dialog, GWL_STYLE) &
                 (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_EQ(::GetWindowLongW(dialog, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr);
    // Not inside: the joystick dialog's title label runs past its right edge.
    ASSERT_TRUE(app.BringToFront(dialog));
    ExpectLayout(dialog, form->controls, form->client_width_twips, form->client_height_twips, dpi,
                 /*inside=*/false);
  }
  EXPECT_EQ(app.Windows(dialogs::kOptionDialogClass).size(), 2u);

  // The focus starts on the selected button; arrows walk the group column by
  // column; Tab goes between the group and OK; Enter is OK.
  HWND dialog = Open(app, kResolutionForm);
  const auto press = [&](WPARAM key, std::string_view focus, std::string_view selected) {
    PostKey(app.Focus(), key);
    return WaitUntil([&] {
      return app.Focus() == Item(dialog, kResolutionForm, focus) &&
             Selected(dialog, kResolutionForm) == Names{std::string(selected)};
    });
  };
  ASSERT_TRUE(WaitUntil([&] { return app.Focus() == Item(dialog, kResolutionForm, "Option2"); }));
  EXPECT_TRUE(press(VK_DOWN, "Option3", "Option3"));
  EXPECT_TRUE(press(VK_DOWN, "Option4", "Option4"));  // the top of the next column
  EXPECT_TRUE(press(VK_UP, "Option3", "Option3"));
  EXPECT_TRUE(press(VK_TAB, "Command1", "Option3"));
  EXPECT_TRUE(press(VK_TAB, "Option3", "Option3"));
  PostKey(app.Focus(), VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 5s));
  EXPECT_EQ(folder.Setting(kResolutionForm.setting.section, kResolutionForm.setting.key),
            "640 480 ");
}

}  // namespace
}  // namespace quorvel::test
