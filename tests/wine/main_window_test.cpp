// The real launcher driven from another process: its main window restores the
// stored options, keeps each option group exclusive, launches the stand-in
// emulator, lists the image files, and lays itself out for the screen's DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

#include "layout/form_layout.h"
#include "launcher/launch_command.h"
#include "launcher/main_layout.h"
#include "layout/win32/fonts.h"
#include "settings/ini_text.h"
#include "tests/wine/gui_test_util.h"

namespace quorvel::test {
namespace {

using namespace launcher;  // the control ids kIdFile1 ... kIdImage1, the launch options
using layout::Kind;

// Every control that carries an option.
constexpr int kOptionIds[] = {kIdCheck1,  kIdCheck2, kIdCheck4,  kIdCheck6,  kIdOption1,
                              kIdOption2, kIdCheck5, kIdOption3, kIdOption4, kIdOption5,
                              kIdOption6, kIdCheck7, kIdCheck8,  kIdCheck9};

std::set<int> CheckedOptions(const RunningQuorvel& app) {
  std::set<int> on;
  for (int id : kOptionIds)
    if (IsChecked(app.Item(id))) on.insert(id);
  return on;
}

// "left,top widthxheight", as the layout table writes pixel boxes.
std::string Pixels(int left, int top, int width, int height) {
  return std::to_string(left) + "," + std::to_string(top) + " " + std::to_string(width) + "x" +
         std::to_string(height);
}
std::string Pixels(const RECT& box) {
  return Pixels(box.left, box.top, box.right - box.left, box.bottom - box.top);
}
std::string Pixels(const layout::Rect& box) {
  return Pixels(box.left, box.top, box.width, box.height);
}

std::string Setting(const QuorvelFolder& folder, std::string_view section, std::string_view key) {
  return ini::FindValue(folder.Settings(), section, key).value_or("(absent)");
}

TEST(MainWindowRestore, FirstStartWithoutSettingsClearsEveryOptionAndWritesNothing) {
  QuorvelFolder folder({L"demo.sms"});
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  EXPECT_EQ(CheckedOptions(app), std::set<int>{});
  EXPECT_TRUE(::IsWindowEnabled(app.Item(kIdCommand3)));
  EXPECT_EQ(app.Close(), DWORD{0});
  EXPECT_FALSE(FileExists(folder.settings_path()));
}

TEST(MainWindowRestore, StoredValuesSetTheControlsOnlyWhenTheyMatchExactly) {
  const struct {
    const char* settings;
    std::set<int> on;
    bool joystick_button;
  } kCases[] = {
      {"[Controls]\r\nkeyboard=1\r\njoystick=0\r\n", {kIdOption1}, false},
      // The joystick key is restored second and wins.
      {"[Controls]\r\nkeyboard=1\r\njoystick=1\r\n", {kIdOption2}, true},
      {"[Controls]\r\njoystick=1\r\n[Sound]\r\nrate=22050\r\n", {kIdOption2, kIdOption4}, true},
      {"[Sound]\r\nrate=11025\r\n", {kIdOption3}, true},
      {"[Sound]\r\nrate=8000\r\n", {kIdOption5}, true},
      {"[Video]\r\nscanlines=\" 1\"\r\nblur=01\r\nscale=\"1 \"\r\n[Controls]\r\nkeyboard=01\r\n"
       "joystick=\" 1\"\r\n[Sound]\r\nenabled=2\r\nrate=\"22050 \"\r\n[Other]\r\nvsync=true\r\n",
       {},
       true},
      {"[Video]\r\nscanlines=1\r\nblur=1\r\nscale=1\r\nexpand=1\r\n[Controls]\r\nkeyboard=0\r\n"
       "joystick=0\r\n[Sound]\r\nenabled=1\r\nrate=44100\r\n[Other]\r\nnommx=1\r\nvsync=1\r\n"
       "throttle=1\r\n",
       {kIdCheck1, kIdCheck2, kIdCheck4, kIdCheck6, kIdCheck5, kIdOption6, kIdCheck7, kIdCheck8,
        kIdCheck9},
       true},
  };
  for (const auto& stored : kCases) {
    SCOPED_TRACE(stored.settings);
    QuorvelFolder folder({L"demo.sms"});
    folder.WriteSettings(stored.settings);
    RunningQuorvel app(folder);
    ASSERT_TRUE(app.window()) << app.failure();
    EXPECT_EQ(CheckedOptions(app), stored.on);
    EXPECT_EQ(::IsWindowEnabled(app.Item(kIdCommand3)) != FALSE, stored.joystick_button);
    EXPECT_EQ(app.Close(), DWORD{0});
    EXPECT_EQ(folder.Settings(), stored.settings) << "the start-up restore only reads";
  }
}

TEST(MainWindowOptions, EachGroupIsExclusiveOnItsOwnAndTheControllerSwitchesCommand3) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  HWND joystick_button = app.Item(kIdCommand3);

  Click(app.Item(kIdOption2));
  Click(app.Item(kIdOption4));
  EXPECT_EQ(CheckedOptions(app), (std::set<int>{kIdOption2, kIdOption4}));
  EXPECT_TRUE(::IsWindowEnabled(joystick_button));

  Click(app.Item(kIdOption1));
  EXPECT_EQ(CheckedOptions(app), (std::set<int>{kIdOption1, kIdOption4}));
  EXPECT_FALSE(::IsWindowEnabled(joystick_button));

  for (int rate : {kIdOption5, kIdOption3, kIdOption6, kIdOption6, kIdOption4}) {
    Click(app.Item(rate));
    EXPECT_EQ(CheckedOptions(app), (std::set<int>{kIdOption1, rate}));
  }

  // Check boxes switch alone.
  Click(app.Item(kIdCheck1));
  Click(app.Item(kIdCheck9));
  Click(app.Item(kIdCheck1));
  Click(app.Item(kIdOption2));
  EXPECT_EQ(CheckedOptions(app), (std::set<int>{kIdCheck9, kIdOption2, kIdOption4}));
  EXPECT_TRUE(::IsWindowEnabled(joystick_button));
}

TEST(MainWindowOptions, ArrowKeysWalkTheirGroupAndSpaceTicksABox) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  const auto key = [&](int id, WPARAM vk) {
    ::PostMessageW(app.Item(id), WM_KEYDOWN, vk, 1);
    ::PostMessageW(app.Item(id), WM_KEYUP, vk, 0xC0000001);
    Send(app.window(), WM_NULL);  // both keys handled
  };
  // The rate buttons stand 8.000, 11.025, 22.050, 44.100 Hz from the top.
  key(kIdOption5, VK_DOWN);
  EXPECT_EQ(CheckedOptions(app), std::set<int>{kIdOption3});
  key(kIdOption3, VK_DOWN);
  EXPECT_EQ(CheckedOptions(app), std::set<int>{kIdOption4});
  key(kIdOption5, VK_UP);  // wraps round to the bottom
  EXPECT_EQ(CheckedOptions(app), std::set<int>{kIdOption6});
  EXPECT_EQ(app.Focus(), app.Item(kIdOption6));

  key(kIdOption1, VK_DOWN);
  EXPECT_EQ(CheckedOptions(app), (std::set<int>{kIdOption2, kIdOption6}));
  EXPECT_TRUE(::IsWindowEnabled(app.Item(kIdCommand3)));
  key(kIdOption2, VK_UP);
  EXPECT_EQ(CheckedOptions(app), (std::set<int>{kIdOption1, kIdOption6}));
  EXPECT_FALSE(::IsWindowEnabled(app.Item(kIdCommand3)));

  key(kIdCheck7, VK_SPACE);
  EXPECT_EQ(CheckedOptions(app), (std::set<int>{kIdOption1, kIdOption6, kIdCheck7}));
}

TEST(MainWindowLaunch, LoadAndRunStoresEveryOptionAndStartsKxWithTheCommandLine) {
  QuorvelFolder folder({L"demo.sms", L"game.gg"});
  folder.WriteSettings("[Joystick]\r\ntype=\"sidewinder \"\r\n[Video]\r\nres=\"640 480 \"\r\n");
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  ASSERT_EQ(Send(app.Item(kIdFile1), LB_SELECTSTRING, -1, reinterpret_cast<LPARAM>(L"demo.sms")),
            0);
  for (int id : {kIdCheck1, kIdCheck4, kIdCheck5, kIdCheck8, kIdOption2, kIdOption4})
    Click(app.Item(id));
  MainOptions options;
  options[Flag::kScanlines] = options[Flag::kScale] = options[Flag::kSound] = true;
  options[Flag::kVSync] = options[Flag::kJoystick] = true;
  options.rate = 1;  // 22.050Hz

  // Posted: a launch that fails tells the user in a modal box.
  ::PostMessageW(app.Item(kIdCommand1), BM_CLICK, 0, 0);
  std::vector<KxRecord> records = folder.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  const std::string expected = LaunchCommandLine(options, "demo.sms", "sidewinder ", "640 480 ");
  EXPECT_EQ(records[0].command_line, expected);
  EXPECT_EQ(records[0].directory, Narrow(folder.images()));

  for (const SettingWrite& write : LaunchWrites(options))
    EXPECT_EQ(Setting(folder, write.section, write.key), write.value) << write.key;
  EXPECT_EQ(Setting(folder, "Joystick", "type"), "sidewinder ");
  EXPECT_EQ(Setting(folder, "Video", "res"), "640 480 ");

  // Nothing of the first launch carries over into the second.
  ::PostMessageW(app.Item(kIdCommand1), BM_CLICK, 0, 0);
  records = folder.WaitForRecords(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].command_line, expected);
}

TEST(MainWindowLaunch, EnterAndDoubleClickInTheFileListLaunchTheChosenFile) {
  QuorvelFolder folder({L"alpha.sms", L"beta.gg"});
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  HWND list = app.Item(kIdFile1);

  PostListClick(list, 1);
  ASSERT_TRUE(WaitUntil([&] { return Send(list, LB_GETCURSEL) == 1 && app.Focus() == list; }));
  ::PostMessageW(list, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  ::PostMessageW(list, WM_KEYUP, VK_RETURN, 0xC01C0001);
  std::vector<KxRecord> records = folder.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "kx beta.gg -res ");

  PostListClick(list, 0, /*double_click=*/true);
  records = folder.WaitForRecords(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].command_line, "kx alpha.sms -res ");
}

TEST(MainWindowLaunch, NameWithBlanksOutsideTheAnsiCodePageIsListedAndArrivesAsOneArgument) {
  const std::wstring name = L"Sonic \u65e5\u672c.sms";
  QuorvelFolder folder({name});
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  EXPECT_EQ(ListItems(app.Item(kIdFile1)), std::vector<std::wstring>{name});
  Send(app.Item(kIdFile1), LB_SETCURSEL, 0);
  ::PostMessageW(app.Item(kIdCommand1), BM_CLICK, 0, 0);
  const std::vector<KxRecord> records = folder.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, LaunchCommandLine({}, Narrow(name), "", ""));
  ASSERT_EQ(records[0].argv.size(), 3u) << records[0].command_line;
  EXPECT_EQ(records[0].argv[1], Narrow(name));
}

TEST(MainWindowLaunch, WithoutASelectedFileOnlyTellsTheUser) {
  QuorvelFolder folder({L"demo.sms"});
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  Click(app.Item(kIdCheck1));
  ::PostMessageW(app.Item(kIdCommand1), BM_CLICK, 0, 0);
  HWND box = WaitForMessageBox(app.process_id());
  ASSERT_TRUE(box) << "no message box";
  EXPECT_EQ(MessageBoxText(box), L"Please Select One File to Load!");
  PressOk(box);
  ASSERT_TRUE(WaitUntil([&] { return MessageBoxes(app.process_id()).empty(); }));
  EXPECT_FALSE(FileExists(folder.settings_path())) << "nothing may be written";

  // A launch afterwards starts kx once: the refused one started nothing.
  Send(app.Item(kIdFile1), LB_SETCURSEL, 0);
  ::PostMessageW(app.Item(kIdCommand1), BM_CLICK, 0, 0);
  const std::vector<KxRecord> records = folder.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, "kx demo.sms -scanlines -res ");
}

TEST(MainWindowClose, ClosingDropsTheChangesSinceTheLastLaunch) {
  QuorvelFolder folder({L"demo.sms"});
  std::string launched;
  {
    RunningQuorvel app(folder);
    ASSERT_TRUE(app.window()) << app.failure();
    for (int id : {kIdCheck1, kIdOption1, kIdOption3}) Click(app.Item(id));
    Send(app.Item(kIdFile1), LB_SETCURSEL, 0);
    ::PostMessageW(app.Item(kIdCommand1), BM_CLICK, 0, 0);
    ASSERT_EQ(folder.WaitForRecords(1).size(), 1u);
    launched = folder.Settings();

    for (int id : {kIdCheck1, kIdCheck9, kIdOption2, kIdOption6}) Click(app.Item(id));
    EXPECT_EQ(app.Close(), DWORD{0});
    EXPECT_EQ(folder.Settings(), launched);
  }
  RunningQuorvel again(folder);
  ASSERT_TRUE(again.window()) << again.failure();
  EXPECT_EQ(CheckedOptions(again), (std::set<int>{kIdCheck1, kIdOption1, kIdOption3}));
  EXPECT_FALSE(::IsWindowEnabled(again.Item(kIdCommand3)));
}

TEST(MainWindowFileList, ListsOnlyVisibleImageFilesInNameOrderWithNothingSelected) {
  QuorvelFolder folder({L"b.SMS", L"A.gg", L"c.sms", L"D.GG", L"notes.txt", L"x.smsx", L"h.sms",
                        L"s.gg", L"gg", L"sms.txt"});
  ::CreateDirectoryW((folder.images() + L"\\folder.sms").c_str(), nullptr);
  ::SetFileAttributesW((folder.images() + L"\\h.sms").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((folder.images() + L"\\s.gg").c_str(), FILE_ATTRIBUTE_SYSTEM);
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  HWND list = app.Item(kIdFile1);
  EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"A.gg", L"b.SMS", L"c.sms", L"D.GG"}));
  EXPECT_EQ(Send(list, LB_GETCURSEL), LB_ERR);
  EXPECT_EQ(::GetWindowLongW(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0);

  QuorvelFolder empty({L"notes.txt"});
  RunningQuorvel empty_app(empty);
  ASSERT_TRUE(empty_app.window()) << empty_app.failure();
  EXPECT_EQ(Send(empty_app.Item(kIdFile1), LB_GETCOUNT), 0);
}

TEST(MainWindowLayout, FixedFrameCentredWithEveryControlInItsBox) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  HWND window = app.window();
  EXPECT_EQ(WindowText(window), L"Quorvel - Korvax Launcher");
  RECT client;
  ::GetClientRect(window, &client);
  EXPECT_EQ(Pixels(client), "0,0 582x446");
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX), 0);

  RECT frame, work;
  ::GetWindowRect(window, &frame);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((frame.left - work.left) - (work.right - frame.right)), 1);
  EXPECT_LE(std::abs((frame.top - work.top) - (work.bottom - frame.bottom)), 1);

  const std::map<Kind, std::wstring> kClassOf = {
      {Kind::kLabel, L"STATIC"},        {Kind::kFileList, L"LISTBOX"}, {Kind::kCheckBox, L"BUTTON"},
      {Kind::kOptionButton, L"BUTTON"}, {Kind::kButton, L"BUTTON"},    {Kind::kPicture, L"STATIC"}};
  for (const layout::Control& control : kMainControls) {
    SCOPED_TRACE(std::string(control.name));
    HWND item = app.Item(control.id);
    ASSERT_TRUE(item);
    EXPECT_EQ(Pixels(RectInParent(item)), Pixels(layout::ToPixels(control.twips, 96)));
    EXPECT_TRUE(::IsWindowVisible(item) && ::IsWindowEnabled(item));
    std::wstring class_name = ClassName(item);
    std::transform(class_name.begin(), class_name.end(), class_name.begin(), ::towupper);
    EXPECT_EQ(class_name, kClassOf.at(control.kind));
    const DWORD type = ::GetWindowLongW(item, GWL_STYLE) & BS_TYPEMASK;
    EXPECT_TRUE(control.kind != Kind::kCheckBox || type == BS_AUTOCHECKBOX);
    EXPECT_TRUE(control.kind != Kind::kOptionButton || type == BS_RADIOBUTTON ||
                type == BS_AUTORADIOBUTTON);
    EXPECT_EQ(WindowText(item), Widen(std::string(control.caption)));
  }
  auto box_of = [&](int id) { return Pixels(RectInParent(app.Item(id))); };
  EXPECT_EQ(box_of(kIdFile1), "8,80 225x276");
  EXPECT_EQ(box_of(kIdCommand3), "360,296 41x25");
  EXPECT_EQ(box_of(kIdImage1), "496,416 80x30");
  EXPECT_EQ(box_of(kIdCheck6), "240,160 161x41");
  EXPECT_EQ(box_of(kIdCommand2), "400,416 89x25");
  EXPECT_EQ(WindowText(app.Item(kIdLabel3)), L"Controller ");
}

TEST(MainWindowLayout, FocusStartsOnTheFileListAndTabFollowsTheTabIndex) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  ASSERT_TRUE(app.BringToFront());
  EXPECT_TRUE(WaitUntil([&] { return app.Focus() == app.Item(kIdFile1); }, 5s));

  const int kTabOrder[] = {kIdFile1,    kIdCheck1, kIdCheck2,   kIdCheck4,  kIdOption1,
                           kIdOption2,  kIdCheck5, kIdOption3,  kIdOption4, kIdCommand1,
                           kIdCommand2, kIdCheck6, kIdCommand3, kIdOption5, kIdOption6,
                           kIdCheck7,   kIdCheck8, kIdCheck9,   kIdCommand4};
  HWND at = app.Item(kIdFile1);
  for (size_t step = 1; step <= std::size(kTabOrder); ++step) {
    at = ::GetNextDlgTabItem(app.window(), at, FALSE);
    EXPECT_EQ(::GetDlgCtrlID(at), kTabOrder[step % std::size(kTabOrder)]) << "step " << step;
  }
  EXPECT_EQ(::GetNextDlgTabItem(app.window(), app.Item(kIdFile1), TRUE), app.Item(kIdCommand4));

  // The Tab key itself moves the focus.
  ::PostMessageW(app.Item(kIdFile1), WM_KEYDOWN, VK_TAB, 0x000F0001);
  EXPECT_TRUE(WaitUntil([&] { return app.Focus() == app.Item(kIdCheck1); }, 5s));
}

TEST(MainWindowLayout, Command3TakesTheClicksWhereItLiesOverTheJoystickRow) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  ASSERT_TRUE(app.BringToFront());
  const POINT overlap{370, 300};
  const RECT joystick = RectInParent(app.Item(kIdOption2));
  const RECT command3 = RectInParent(app.Item(kIdCommand3));
  ASSERT_TRUE(::PtInRect(&joystick, overlap) && ::PtInRect(&command3, overlap));
  auto hit = [&](POINT point) {
    ::ClientToScreen(app.window(), &point);
    return ::WindowFromPoint(point);
  };
  EXPECT_EQ(hit(overlap), app.Item(kIdCommand3));
  EXPECT_EQ(hit({300, 300}), app.Item(kIdOption2));
}

TEST(MainWindowDpi, ClientControlsAndFontsFollowTheScreenDpi) {
  const char* expected = std::getenv("QUORVEL_EXPECT_DPI");
  const int dpi = expected ? std::atoi(expected) : 96;
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();

  RECT client;
  ::GetClientRect(app.window(), &client);
  EXPECT_EQ(client.right, layout::TwipsToPixels(kMainClientWidthTwips, dpi));
  EXPECT_EQ(client.bottom, layout::TwipsToPixels(kMainClientHeightTwips, dpi));
  if (dpi == 144) {
    EXPECT_EQ(Pixels(client), "0,0 873x669");
  }
  for (const layout::Control& control : kMainControls)
    EXPECT_EQ(Pixels(RectInParent(app.Item(control.id))),
              Pixels(layout::ToPixels(control.twips, dpi)))
        << control.name;

  // Wine answers no WM_GETFONT from another process, and a font handle means
  // nothing outside its own process. The file list's item height is the text
  // height of its font, the check boxes' Times New Roman 9.75 pt.
  LOGFONTW description{};
  description.lfHeight = -::MulDiv(975, dpi, 7200);
  const std::wstring face = layout::AvailableFace("Times New Roman");
  face.copy(description.lfFaceName, LF_FACESIZE - 1);
  win::UniqueFont font(::CreateFontIndirectW(&description));
  win::WindowDc screen(nullptr, ::GetDC(nullptr));
  win::ScopedSelect selected(screen.get(), font.get());
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(screen.get(), &metrics);
  EXPECT_EQ(Send(app.Item(kIdFile1), LB_GETITEMHEIGHT, 0), metrics.tmHeight);
}

TEST(MainWindowScreenshot, WindowIsDrawnWithItsYellowButtonsAndKeptAsAnArtefact) {
  QuorvelFolder folder({L"demo.sms", L"game.gg"});
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window()) << app.failure();
  ASSERT_TRUE(app.BringToFront());
  RECT frame;
  ::GetWindowRect(app.window(), &frame);
  const RECT button = RectInParent(app.Item(kIdCommand1));
  POINT inside{button.left + 6, button.top + 6};
  ::ClientToScreen(app.window(), &inside);

  // Polled until the screen shows what the window has drawn.
  Screenshot shot;
  const bool yellow = WaitUntil([&] {
    shot = CaptureScreen(frame);
    return !shot.bgr.empty() &&
           shot.Pixel(inside.x - frame.left, inside.y - frame.top) == RGB(255, 255, 0);
  });
  const std::wstring folder_path = BinDirectory() + L"\\..\\artifacts";
  ::CreateDirectoryW(folder_path.c_str(), nullptr);
  EXPECT_TRUE(shot.SaveBmp(folder_path + L"\\main-window.bmp"));
  EXPECT_TRUE(yellow) << "Command1 is not drawn yellow";
  const COLORREF corner = shot.Pixel(0, 0);
  bool varied = false;
  for (int y = 0; y < shot.height && !varied; ++y)
    for (int x = 0; x < shot.width && !varied; ++x) varied = shot.Pixel(x, y) != corner;
  EXPECT_TRUE(varied) << "the window is all one colour";
}

}  // namespace
}  // namespace quorvel::test
