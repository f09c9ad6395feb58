// The real launcher driven from another process: its frame and layout at the
// screen's DPI, the stored options it shows, the keyboard, the file list, and
// "Load and Run" through the stand-in emulator.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "launcher/launch_command.h"
#include "launcher/main_layout.h"
#include "layout/win32/fonts.h"
#include "tests/wine/test_util.h"

namespace quorvel::test {
namespace {

using namespace launcher;  // the control ids kIdFile1 ... kIdImage1, the launch options
using layout::Kind;

std::set<int> CheckedOptions(const RunningQuorvel& app) {
  std::set<int> on;
  for (const layout::Control& control : kMainControls)
    if ((control.kind == Kind::kCheckBox || control.kind == Kind::kOptionButton) &&
        IsChecked(app.Item(control.id)))
      on.insert(control.id);
  return on;
}

// Posted: a launch that fails tells the user in a modal box.
void PressLoadAndRun(const RunningQuorvel& app) {
  ::PostMessageW(app.Item(kIdCommand1), BM_CLICK, 0, 0);
}

MainOptions With(std::initializer_list<Flag> flags, std::optional<size_t> rate = {}) {
  MainOptions options;
  for (Flag flag : flags) options[flag] = true;
  options.rate = rate;
  return options;
}

// Runs at 96 DPI, and again in a prefix whose screen has 144 DPI.
TEST(MainWindowDpi, FrameControlsFontsAndColoursFollowTheScreenDpi) {
  const char* expected = std::getenv("QUORVEL_EXPECT_DPI");
  const int dpi = expected ? std::atoi(expected) : 96;
  QuorvelFolder folder({L"demo.sms"});
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  HWND window = app.window();
  ASSERT_EQ(::GetDpiForWindow(window), static_cast<UINT>(dpi));

  // A fixed frame with Close only, centred in the work area.
  EXPECT_EQ(WindowText(window), Widen(kMainCaption));
  EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) &
                (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  RECT client, frame, work;
  ::GetClientRect(window, &client);
  ::GetWindowRect(window, &frame);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((frame.left - work.left) - (work.right - frame.right)), 1);
  EXPECT_LE(std::abs((frame.top - work.top) - (work.bottom - frame.bottom)), 1);
  EXPECT_EQ(client.right, layout::TwipsToPixels(kMainClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, layout::TwipsToPixels(kMainClientHeightTwips, dpi));
  EXPECT_EQ(client.right, dpi == 144 ? 873 : 582);  // hand-picked: 8730 twips

  ASSERT_TRUE(app.BringToFront());
  ExpectLayout(window, kMainControls, dpi, /*inside=*/true);
  EXPECT_TRUE(dpi != 96 || PixelBox(app.Item(kIdFile1)) == (layout::Rect{8, 80, 225, 276}));
  POINT overlap{370, 300};  // in Option2 ("Joystick") and in Command3, which lies in front
  ::ClientToScreen(window, &overlap);
  EXPECT_TRUE(dpi != 96 || ::WindowFromPoint(overlap) == app.Item(kIdCommand3));

  // Wine answers no WM_GETFONT from another process: the file list's item
  // height is the text height of its font, Times New Roman 9.75 pt.
  LOGFONTW description{};
  description.lfHeight = layout::FontHeight(layout::kTimesFont, dpi);
  layout::AvailableFace("Times New Roman").copy(description.lfFaceName, LF_FACESIZE - 1);
  win::UniqueFont font(::CreateFontIndirectW(&description));
  win::WindowDc screen(nullptr, ::GetDC(nullptr));
  win::ScopedSelect selected(screen.get(), font.get());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen.get(), &metrics);
  EXPECT_EQ(Send(app.Item(kIdFile1), LB_GETITEMHEIGHT, 0), metrics.tmHeight);

  // Polled until the screen shows what the window has drawn: a yellow
  // Command1 beside the white file list.
  const auto pixel_in = [&](int id) {
    const layout::Rect box = PixelBox(app.Item(id));
    POINT inside{box.left + 6, box.top + 6};
    ::ClientToScreen(window, &inside);
    return ::GetPixel(screen.get(), inside.x, inside.y);
  };
  EXPECT_TRUE(WaitUntil([&] { return pixel_in(kIdCommand1) == RGB(255, 255, 0); }));
  EXPECT_EQ(pixel_in(kIdFile1), RGB(255, 255, 255));
}

// The caption bar painted as a gradient, active and then inactive.
TEST(MainWindowDpi, CaptionIsPaintedActiveAndInactive) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  ASSERT_TRUE(app.BringToFront());
  ExpectPaintedCaption(app.window(), true);
  // Another window takes the activation.
  const win::UniqueWindow other(::CreateWindowExW(0, L"BUTTON", L"other", WS_POPUP | WS_VISIBLE, 0,
                                                  0, 50, 50, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(app.BringToFront(other.get()));
  ExpectPaintedCaption(app.window(), false);
}

TEST(MainWindowLaunch, StoredAndClickedOptionsAreStoredByLoadAndRunAndReachKx) {
  QuorvelFolder folder({L"demo.sms", L"game.gg"});
  const std::string stored =
      "[Joystick]\r\ntype=\"sidewinder \"\r\n[Video]\r\nres=\"640 480 \"\r\n"
      "scanlines=1\r\nblur=0\r\nscale=1\r\n[Controls]\r\nkeyboard=1\r\n"
      "[Sound]\r\nrate=11025\r\n[Other]\r\nnommx=1\r\n";
  folder.WriteSettings(stored);
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  EXPECT_EQ(CheckedOptions(app),
            (std::set<int>{kIdCheck1, kIdCheck4, kIdOption1, kIdOption3, kIdCheck7}));
  EXPECT_FALSE(::IsWindowEnabled(app.Item(kIdCommand3)));
  // Clicks change each group on its own, and store nothing yet.
  for (int id : {kIdCheck7, kIdCheck5, kIdCheck8, kIdOption2, kIdOption4}) Click(app.Item(id));
  EXPECT_EQ(CheckedOptions(app),
            (std::set<int>{kIdCheck1, kIdCheck4, kIdCheck5, kIdCheck8, kIdOption2, kIdOption4}));
  EXPECT_TRUE(::IsWindowEnabled(app.Item(kIdCommand3)));
  EXPECT_EQ(folder.Settings(), stored);

  ASSERT_EQ(Send(app.Item(kIdFile1), LB_SELECTSTRING, -1, reinterpret_cast<LPARAM>(L"demo.sms")),
            0);
  const MainOptions options =
      With({Flag::kScanlines, Flag::kScale, Flag::kSound, Flag::kVSync, Flag::kJoystick}, 1);
  const std::string expected = LaunchCommandLine(options, "demo.sms", "sidewinder ", "640 480 ");
  PressLoadAndRun(app);
  std::vector<KxRecord> records = folder.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, expected);
  EXPECT_EQ(records[0].directory, Narrow(folder.images()));
  for (const SettingWrite& write : LaunchWrites(options))
    EXPECT_EQ(folder.Setting(write.section, write.key), write.value) << write.key;
  EXPECT_EQ(folder.Setting("Joystick", "type"), "sidewinder ");
  EXPECT_EQ(folder.Setting("Video", "res"), "640 480 ");
  EXPECT_FALSE(FileExists(folder.images() + L"\\quorvel.ini")) << "beside the program only";

  // Nothing of the first launch carries over into the second, and what
  // changes after it is dropped at the close.
  PressLoadAndRun(app);
  records = folder.WaitForRecords(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].command_line, expected);
  const std::string launched = folder.Settings();
  Click(app.Item(kIdCheck9));
  EXPECT_EQ(app.Close(), DWORD{0});
  EXPECT_EQ(folder.Settings(), launched);
}

TEST(MainWindowKeyboard, FocusTabArrowsEnterAndDoubleClick) {
  QuorvelFolder folder({L"alpha.sms", L"beta.gg"});
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  ASSERT_TRUE(app.BringToFront());
  HWND list = app.Item(kIdFile1);
  EXPECT_TRUE(WaitUntil([&] { return app.Focus() == list; }, 5s));

  // Tab walks the table, which is in tab order, through every control but the
  // labels and the picture, and wraps round.
  std::vector<int> tab_order, walked;
  for (const layout::Control& control : kMainControls)
    if (control.kind != Kind::kLabel && control.kind != Kind::kPicture)
      tab_order.push_back(control.id);
  for (HWND at = list; walked.size() <= tab_order.size();
       at = ::GetNextDlgTabItem(app.window(), at, FALSE))
    walked.push_back(::GetDlgCtrlID(at));
  tab_order.push_back(kIdFile1);
  EXPECT_EQ(walked, tab_order);

  // Arrow keys walk a group in screen order: down from 8.000Hz, the top one,
  // to 11.025Hz; up from Joystick to Keyboard, which disables Command3.
  PostKey(app.Item(kIdOption5), VK_DOWN);
  PostKey(app.Item(kIdOption2), VK_UP);
  EXPECT_TRUE(WaitUntil([&] {
    return CheckedOptions(app) == std::set<int>{kIdOption1, kIdOption3};
  }));
  EXPECT_FALSE(::IsWindowEnabled(app.Item(kIdCommand3)));

  // Enter in the file list, and a double click on a file, launch it.
  const auto item_point = [&](int index) {
    const int height = static_cast<int>(Send(list, LB_GETITEMHEIGHT, index));
    return POINT{4, (index - static_cast<int>(Send(list, LB_GETTOPINDEX))) * height + height / 2};
  };
  PostMouseClick(list, item_point(1));
  ASSERT_TRUE(WaitUntil([&] { return Send(list, LB_GETCURSEL) == 1 && app.Focus() == list; }));
  PostKey(list, VK_RETURN);
  ASSERT_EQ(folder.WaitForRecords(1).size(), 1u);
  PostMouseClick(list, item_point(0), /*double_click=*/true);
  const std::vector<KxRecord> records = folder.WaitForRecords(2);
  ASSERT_EQ(records.size(), 2u);
  const MainOptions options = With({Flag::kKeyboard}, 0);  // 11.025Hz
  EXPECT_EQ(records[0].command_line, LaunchCommandLine(options, "beta.gg", "", ""));
  EXPECT_EQ(records[1].command_line, LaunchCommandLine(options, "alpha.sms", "", ""));
}

TEST(MainWindowFileList, ListsImageFilesInNameOrderAndLaunchesTheChosenOneOrTellsWhyNot) {
  const std::wstring odd = L"Quillon Marsh \u65e5\u672c \u2603.sms";  // blanks, not ANSI
  QuorvelFolder folder({L"b.SMS", L"A.gg", L"c.sms", L"D.GG", L"notes.txt", L"x.smsx", L"h.sms",
                        L"s.gg", L"gg", L"sms.txt", odd});
  std::filesystem::create_directory(folder.images() + L"\\folder.sms");
  ::SetFileAttributesW((folder.images() + L"\\h.sms").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((folder.images() + L"\\s.gg").c_str(), FILE_ATTRIBUTE_SYSTEM);
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  HWND list = app.Item(kIdFile1);
  EXPECT_EQ(ListItems(list),
            (std::vector<std::wstring>{L"A.gg", L"b.SMS", L"c.sms", L"D.GG", odd}));
  EXPECT_EQ(Send(list, LB_GETCURSEL), LB_ERR);
  EXPECT_EQ(::GetWindowLongW(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0);

  // With nothing selected the user is told so, and nothing is written.
  PressLoadAndRun(app);
  EXPECT_EQ(AnswerMessageBox(app.process_id(), 15s), L"Please Select One File to Load!");
  Send(app.window(), WM_NULL);  // answered in its message loop: the press is over
  EXPECT_FALSE(FileExists(folder.settings_path()));

  // Without kx the settings are written first, then the user is told why.
  ASSERT_TRUE(std::filesystem::remove(folder.program_folder() + L"\\kx.exe"));
  Send(list, LB_SETCURSEL, 4);
  PressLoadAndRun(app);
  const std::wstring told = AnswerMessageBox(app.process_id(), 15s).value_or(L"(no box)");
  EXPECT_TRUE(told.starts_with(L"Korvax could not be started")) << Narrow(told);
  EXPECT_GT(told.size(), told.find(L"\n\n") + 2) << "the system's reason is missing";
  EXPECT_EQ(folder.Setting("Other", "throttle"), "0");

  // With kx back, the first start it records is this one, so the press without
  // a file started nothing; the odd name arrives as one argument.
  ASSERT_TRUE(CopyProgram(L"kx.exe", folder.program_folder()));
  PressLoadAndRun(app);
  const std::vector<KxRecord> records = folder.WaitForRecords(1);
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records[0].command_line, LaunchCommandLine({}, Narrow(odd), "", ""));
  EXPECT_EQ(records[0].argv, (std::vector<std::string>{"kx", Narrow(odd), "-res"}));
}

}  // namespace
}  // namespace quorvel::test
