// The joystick type and resolution dialogs of the real program: what they
// restore, what OK stores, one instance each, keyboard use, and the launch
// that follows.
#include <gtest/gtest.h>

#include "dialogs/dialog_layouts.h"
#include "dialogs/win32/option_dialog.h"
#include "launcher/main_layout.h"
#include "settings/ini_text.h"
#include "tests/wine/gui_test_util.h"

namespace quorvel::test {
namespace {

using dialogs::kJoystickTypeForm;
using dialogs::kResolutionForm;
using dialogs::OptionDialogForm;

// Every option dialog window of the program, shown or hidden.
std::vector<HWND> OptionDialogs(const RunningQuorvel& app) {
  return TopLevelWindows(app.process_id(), dialogs::kOptionDialogClass);
}

int OpenerOf(const OptionDialogForm& form) {
  return &form == &kJoystickTypeForm ? launcher::kIdCommand3 : launcher::kIdCommand4;
}

// Presses the dialog's button in the main window and waits for it to show.
HWND Open(const RunningQuorvel& app, const OptionDialogForm& form) {
  Click(app.Item(OpenerOf(form)));
  HWND shown = nullptr;
  WaitUntil([&] {
    for (HWND dialog : OptionDialogs(app))
      if (::IsWindowVisible(dialog) && Narrow(WindowText(dialog)) == form.caption) shown = dialog;
    return shown != nullptr;
  });
  return shown;
}

int IdOf(const OptionDialogForm& form, std::string_view button) {
  return layout::Find(form.controls, button)->id;
}

// The names of the dialog's selected option buttons.
std::vector<std::string> Selected(HWND dialog, const OptionDialogForm& form) {
  std::vector<std::string> names;
  for (const dialogs::OptionRow& row : form.rows)
    if (IsChecked(::GetDlgItem(dialog, IdOf(form, row.button)))) names.emplace_back(row.button);
  return names;
}

void PressOk(HWND dialog) {
  Click(::GetDlgItem(dialog, dialogs::kIdOk));
  WaitUntil([&] { return !::IsWindowVisible(dialog); }, 5s);
}

std::string Stored(const QuorvelFolder& folder, const OptionDialogForm& form) {
  return ini::FindValue(folder.Settings(), form.section, form.key).value_or("(absent)");
}

// Chooses each row in one run and finds it selected again in the next run.
void EveryRowSurvivesARestart(const OptionDialogForm& form) {
  QuorvelFolder folder;
  std::string expected_selection;  // chosen in the previous run
  for (std::size_t row = 0; row <= form.rows.size(); ++row) {
    RunningQuorvel app(folder);
    ASSERT_TRUE(app.window()) << app.failure();
    HWND dialog = Open(app, form);
    ASSERT_TRUE(dialog);
    const std::vector<std::string> selected = Selected(dialog, form);
    if (expected_selection.empty())
      EXPECT_TRUE(selected.empty()) << "nothing stored yet";
    else
      EXPECT_EQ(selected, std::vector<std::string>{expected_selection});
    if (row == form.rows.size()) break;

    Click(::GetDlgItem(dialog, IdOf(form, form.rows[row].button)));
    PressOk(dialog);
    EXPECT_FALSE(::IsWindowVisible(dialog));
    EXPECT_EQ(Stored(folder, form), form.rows[row].value);
    expected_selection = form.rows[row].button;
    EXPECT_EQ(app.Close(), DWORD{0});
  }
}

TEST(JoystickTypeDialog, EveryTypeSurvivesARestart) { EveryRowSurvivesARestart(kJoystickTypeForm); }
TEST(ResolutionDialog, EveryResolutionSurvivesARestart) { EveryRowSurvivesARestart(kResolutionForm); }

TEST(OptionDialogs, MatchTheStoredValueExactlyAndReadItAgainAfterAClose) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  const struct {
    const OptionDialogForm* form;
    const char* stored;
    std::vector<std::string> selected;
  } kCases[] = {
      {&kJoystickTypeForm, "\"auto \"", {"Option1"}},
      {&kJoystickTypeForm, "auto", {}},            // no trailing blank
      {&kJoystickTypeForm, "\"Auto \"", {}},       // another letter case
      {&kJoystickTypeForm, "\" auto \"", {}},      // a leading blank
      {&kJoystickTypeForm, "\"n64lpt3 \"", {"Option24"}},
      {&kJoystickTypeForm, "\"gamepdpro \"", {"Option10"}},
      {&kResolutionForm, "\"640 480 \"", {"Option3"}},
      {&kResolutionForm, "640 480", {}},
      {&kResolutionForm, "\"1024 768 \"", {}},
      {&kResolutionForm, "\"1024 860 \"", {"Option5"}},
  };
  for (const auto& c : kCases) {
    folder.WriteSettings("[" + std::string(c.form->section) + "]\r\n" + std::string(c.form->key) +
                         "=" + c.stored + "\r\n");
    HWND dialog = Open(app, *c.form);
    ASSERT_TRUE(dialog) << c.stored;
    EXPECT_EQ(Selected(dialog, *c.form), c.selected) << c.stored;
    // Closed by other means than OK (Alt+F4): unloaded, nothing written, and
    // the next showing reads the setting again.
    const std::string before = folder.Settings();
    Send(dialog, WM_CLOSE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 5s));
    EXPECT_EQ(folder.Settings(), before);
  }
}

TEST(OptionDialogs, OkWithNothingSelectedWritesNothing) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  for (const OptionDialogForm* form : {&kJoystickTypeForm, &kResolutionForm}) {
    HWND dialog = Open(app, *form);
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(Selected(dialog, *form).empty());
    PressOk(dialog);
    EXPECT_FALSE(::IsWindowVisible(dialog));
  }
  EXPECT_FALSE(FileExists(folder.settings_path()));
}

TEST(OptionDialogs, OneInstanceEachThatKeepsItsSelectionWithoutReadingAgain) {
  QuorvelFolder folder;
  folder.WriteSettings("[Joystick]\r\ntype=\"sidewinder \"\r\n");
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();

  HWND joystick = Open(app, kJoystickTypeForm);
  ASSERT_TRUE(joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), std::vector<std::string>{"Option8"});
  // Pressed again while shown: the same window, no second one, no new load.
  folder.WriteSettings("[Joystick]\r\ntype=\"segapci \"\r\n");
  EXPECT_EQ(Open(app, kJoystickTypeForm), joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), std::vector<std::string>{"Option8"});

  // Choosing a button stores nothing; OK stores it; showing again keeps the
  // user's choice, whatever the file says meanwhile.
  Click(::GetDlgItem(joystick, IdOf(kJoystickTypeForm, "Option11")));  // Grip
  EXPECT_EQ(Stored(folder, kJoystickTypeForm), "segapci ");
  PressOk(joystick);
  EXPECT_EQ(Stored(folder, kJoystickTypeForm), "grip ");
  folder.WriteSettings("[Joystick]\r\ntype=\"auto \"\r\n");
  EXPECT_EQ(Open(app, kJoystickTypeForm), joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), std::vector<std::string>{"Option11"});

  HWND resolution = Open(app, kResolutionForm);
  ASSERT_TRUE(resolution);
  EXPECT_NE(resolution, joystick);
  EXPECT_EQ(Open(app, kResolutionForm), resolution);
  EXPECT_EQ(OptionDialogs(app).size(), 2u);
}

TEST(OptionDialogs, FramelessFixedSizeAndOutOfTheTaskbar) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  const struct {
    const OptionDialogForm* form;
    int width;
    int height;
  } kCases[] = {{&kJoystickTypeForm, 302, 366}, {&kResolutionForm, 312, 199}};
  for (const auto& c : kCases) {
    HWND dialog = Open(app, *c.form);
    ASSERT_TRUE(dialog);
    const LONG style = ::GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_TRUE(::GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr);
    RECT client{}, outer{};
    ::GetClientRect(dialog, &client);
    ::GetWindowRect(dialog, &outer);
    EXPECT_EQ(client.right, c.width);
    EXPECT_EQ(client.bottom, c.height);
    EXPECT_EQ(outer.right - outer.left, c.width) << "no frame around the client area";
    // The title label runs past the right edge of the joystick dialog.
    const RECT title = RectInParent(::GetDlgItem(dialog, IdOf(*c.form, "Label1")));
    EXPECT_EQ(title.right, c.form == &kJoystickTypeForm ? 393 : 313);
  }
}

TEST(JoystickTypeDialog, RightColumnButtonTakesTheClickWhereBoxesOverlap) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  HWND dialog = Open(app, kJoystickTypeForm);
  ASSERT_TRUE(dialog);
  // (175, 160) lies in "8 Buttons" (8..185) and in "PSX Pad on LPT 1" (168..289).
  POINT point{175, 160};
  ::ClientToScreen(dialog, &point);
  HWND hit = ::WindowFromPoint(point);
  EXPECT_EQ(::GetDlgCtrlID(hit), IdOf(kJoystickTypeForm, "Option16"));
  // And a click there selects it.
  POINT local = point;
  ::ScreenToClient(hit, &local);
  ::PostMessageW(hit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
  ::PostMessageW(hit, WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
  EXPECT_TRUE(WaitUntil([&] { return !Selected(dialog, kJoystickTypeForm).empty(); }, 5s));
  EXPECT_EQ(Selected(dialog, kJoystickTypeForm), std::vector<std::string>{"Option16"});
  // One group across both columns.
  Click(::GetDlgItem(dialog, IdOf(kJoystickTypeForm, "Option26")));
  Click(::GetDlgItem(dialog, IdOf(kJoystickTypeForm, "Option1")));
  EXPECT_EQ(Selected(dialog, kJoystickTypeForm), std::vector<std::string>{"Option1"});
}

TEST(OptionDialogs, KeyboardArrowsTabAndEnter) {
  QuorvelFolder folder;
  folder.WriteSettings("[Video]\r\nres=\"320 240 \"\r\n");
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  HWND dialog = Open(app, kResolutionForm);
  ASSERT_TRUE(dialog);
  const auto item = [&](std::string_view name) {
    return ::GetDlgItem(dialog, IdOf(kResolutionForm, name));
  };
  ASSERT_TRUE(WaitUntil([&] { return app.Focus() == item("Option2"); }, 5s))
      << "the focus starts on the selected button";
  const auto key = [&](WPARAM vk) {
    HWND focus = app.Focus();
    ::PostMessageW(focus, WM_KEYDOWN, vk, 1);
    ::PostMessageW(focus, WM_KEYUP, vk, 0xC0000001);
  };
  key(VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(item("Option3")); }, 5s));
  EXPECT_EQ(Selected(dialog, kResolutionForm), std::vector<std::string>{"Option3"});
  key(VK_DOWN);  // on to the next column
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(item("Option4")); }, 5s));
  key(VK_UP);
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(item("Option3")); }, 5s));

  // Tab goes between the group and OK, not from button to button.
  key(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return app.Focus() == item("Command1"); }, 5s));
  key(VK_TAB);
  EXPECT_TRUE(WaitUntil([&] { return app.Focus() == item("Option3"); }, 5s));

  key(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 5s));
  EXPECT_EQ(Stored(folder, kResolutionForm), "640 480 ");
}

TEST(OptionDialogs, TheNextLaunchCarriesTheStoredValues) {
  QuorvelFolder folder({L"demo.sms"});
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  Click(app.Item(launcher::kIdOption2));  // Joystick
  HWND joystick = Open(app, kJoystickTypeForm);
  ASSERT_TRUE(joystick);
  Click(::GetDlgItem(joystick, IdOf(kJoystickTypeForm, "Option24")));  // N64 Pad on LPT 3
  PressOk(joystick);
  HWND resolution = Open(app, kResolutionForm);
  ASSERT_TRUE(resolution);
  Click(::GetDlgItem(resolution, IdOf(kResolutionForm, "Option5")));  // 1024 x 860
  PressOk(resolution);

  Send(app.Item(launcher::kIdFile1), LB_SETCURSEL, 0);
  ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
  const std::vector<KxRecord> records = folder.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "kx demo.sms -joy n64lpt3 -res 1024 860 ");
}

}  // namespace
}  // namespace quorvel::test
