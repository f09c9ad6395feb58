// The joystick type and resolution dialogs of the real program: their frames
// and layout, what they restore and what OK stores, one instance each, the
// keyboard, and the launch that follows.
#include <gtest/gtest.h>

#include "dialogs/dialog_layouts.h"
#include "dialogs/win32/option_dialog.h"
#include "launcher/main_layout.h"
#include "tests/wine/test_util.h"

namespace quorvel::test {
namespace {

using dialogs::kJoystickTypeForm;
using dialogs::kResolutionForm;
using dialogs::OptionDialogForm;
using Names = std::vector<std::string>;

constexpr const OptionDialogForm* kForms[] = {&kJoystickTypeForm, &kResolutionForm};

// Presses the dialog's button in the main window and waits for it to show.
HWND Open(const RunningQuorvel& app, const OptionDialogForm& form) {
  Click(app.Item(&form == &kJoystickTypeForm ? launcher::kIdCommand3 : launcher::kIdCommand4));
  HWND shown = nullptr;
  WaitUntil([&] {
    for (HWND dialog : app.Windows(dialogs::kOptionDialogClass))
      if (::IsWindowVisible(dialog) && Narrow(WindowText(dialog)) == form.caption) shown = dialog;
    return shown != nullptr;
  });
  return shown;
}

HWND Item(HWND dialog, const OptionDialogForm& form, std::string_view name) {
  return ::GetDlgItem(dialog, layout::Find(form.controls, name)->id);
}

// The names of the dialog's selected option buttons.
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

// Each row's button stores the row's value. The other way round (the stored
// value selects its row's button when the dialog loads) is the same lookup
// after a match that the native tests check for every row: here a few rows.
TEST(OptionDialogs, EveryRowsButtonStoresTheRowsValue) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  for (const OptionDialogForm* form : kForms) {
    SCOPED_TRACE(std::string(form->caption));
    HWND dialog = Open(app, *form);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Selected(dialog, *form), Names{});
    Choose(dialog, *form, "");
    EXPECT_EQ(folder.Setting(form->section, form->key), "(absent)")
        << "OK with nothing selected writes nothing";
    for (const dialogs::OptionRow& row : form->rows) {
      ASSERT_EQ(Open(app, *form), dialog);
      Choose(dialog, *form, row.button);
      EXPECT_EQ(folder.Setting(form->section, form->key), row.value) << row.button;
    }
    // One group across the columns: the last click alone is left.
    ASSERT_EQ(Open(app, *form), dialog);
    EXPECT_EQ(Selected(dialog, *form), Names{std::string(form->rows.back().button)});

    // Closed by WM_CLOSE (Alt+F4) after another choice: nothing is written,
    // the dialog unloads, and its next showing reads the file again.
    Click(Item(dialog, *form, form->rows.front().button));
    Send(dialog, WM_CLOSE);
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog); }, 5s));
    EXPECT_EQ(folder.Setting(form->section, form->key), form->rows.back().value);
    const dialogs::OptionRow& other = form->rows[1];
    folder.WriteSettings("[" + std::string(form->section) + "]\r\n" + std::string(form->key) +
                         "=\"" + std::string(other.value) + "\"\r\n");
    dialog = Open(app, *form);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Selected(dialog, *form), Names{std::string(other.button)});
  }
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
  EXPECT_EQ(records[0].command_line, "kx demo.sms -joy n64lpt3 -res 1024 860 ");
}

TEST(OptionDialogs, OneInstanceEachFramelessWithEveryControlAtItsPixels) {
  QuorvelFolder folder;
  folder.WriteSettings("[Joystick]\r\ntype=\"sidewinder \"\r\n");
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  HWND joystick = Open(app, kJoystickTypeForm);
  ASSERT_TRUE(joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), Names{"Option8"});
  // Pressed again while shown: the same window, not loaded again.
  folder.WriteSettings("[Joystick]\r\ntype=\"segapci \"\r\n");
  EXPECT_EQ(Open(app, kJoystickTypeForm), joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), Names{"Option8"});
  // A click stores nothing, OK does; shown again after OK, the dialog keeps
  // the user's choice whatever the file says meanwhile.
  Click(Item(joystick, kJoystickTypeForm, "Option11"));
  EXPECT_EQ(folder.Setting(kJoystickTypeForm.section, kJoystickTypeForm.key), "segapci ");
  Choose(joystick, kJoystickTypeForm, "");
  EXPECT_EQ(folder.Setting(kJoystickTypeForm.section, kJoystickTypeForm.key), "grip ");
  folder.WriteSettings("[Joystick]\r\ntype=\"auto \"\r\n");
  EXPECT_EQ(Open(app, kJoystickTypeForm), joystick);
  EXPECT_EQ(Selected(joystick, kJoystickTypeForm), Names{"Option11"});

  for (const OptionDialogForm* form : kForms) {
    SCOPED_TRACE(std::string(form->caption));
    HWND dialog = Open(app, *form);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Open(app, *form), dialog);
    const int dpi = static_cast<int>(::GetDpiForWindow(dialog));
    EXPECT_FALSE(::GetWindowLongW(dialog, GWL_STYLE) &
                 (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_SYSMENU));
    EXPECT_TRUE(::GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), nullptr);
    RECT client{}, outer{};
    ::GetClientRect(dialog, &client);
    ::GetWindowRect(dialog, &outer);
    EXPECT_EQ(client.right, layout::TwipsToPixels(form->client_width_twips, dpi));
    EXPECT_EQ(client.bottom, layout::TwipsToPixels(form->client_height_twips, dpi));
    EXPECT_EQ(outer.right - outer.left, client.right) << "no frame around the client area";
    // Not inside: the joystick dialog's title label runs past its right edge.
    ASSERT_TRUE(app.BringToFront(dialog));
    ExpectLayout(dialog, form->controls, dpi, /*inside=*/false);
    if (form != &kJoystickTypeForm) continue;
    // Hand-picked: the title ends at 393, past the right edge at 302; (175,
    // 160) lies in "8 Buttons" and in "PSX Pad on LPT 1", which is in front.
    EXPECT_EQ(PixelBox(Item(dialog, *form, "Label1")).right(), 393);
    POINT point{175, 160};
    ::ClientToScreen(dialog, &point);
    EXPECT_EQ(::WindowFromPoint(point), Item(dialog, *form, "Option16"));
  }
  EXPECT_EQ(app.Windows(dialogs::kOptionDialogClass).size(), 2u);
}

TEST(OptionDialogs, KeyboardArrowsTabAndEnter) {
  QuorvelFolder folder;
  folder.WriteSettings("[Video]\r\nres=\"320 240 \"\r\n");
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  HWND dialog = Open(app, kResolutionForm);
  ASSERT_TRUE(dialog);
  const auto focus_on = [&](std::string_view name) {
    return WaitUntil([&] { return app.Focus() == Item(dialog, kResolutionForm, name); }, 5s);
  };
  const auto press_then_selected = [&](WPARAM key, std::string_view name) {
    PostKey(app.Focus(), key);
    return WaitUntil([&] { return Selected(dialog, kResolutionForm) == Names{std::string(name)}; });
  };
  ASSERT_TRUE(focus_on("Option2")) << "the focus starts on the selected button";
  EXPECT_TRUE(press_then_selected(VK_DOWN, "Option3"));
  EXPECT_TRUE(press_then_selected(VK_DOWN, "Option4"));  // the top of the next column
  EXPECT_TRUE(press_then_selected(VK_UP, "Option3"));

  // Tab goes between the group and OK, not from button to button.
  PostKey(app.Focus(), VK_TAB);
  EXPECT_TRUE(focus_on("Command1"));
  PostKey(app.Focus(), VK_TAB);
  EXPECT_TRUE(focus_on("Option3"));
  PostKey(app.Focus(), VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return !::IsWindowVisible(dialog); }, 5s));
  EXPECT_EQ(folder.Setting(kResolutionForm.section, kResolutionForm.key), "640 480 ");
}

}  // namespace
}  // namespace quorvel::test
