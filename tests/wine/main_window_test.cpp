// The real program: its file (icon, manifest, planted DLLs), and its main window
// driven from another process: frame and layout at the screen's DPI, the
// stored options, the keyboard, the file list, "Load and Run" through kx; a failed start.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <set>
#include <thread>

#include <commctrl.h>

#include "launcher/launch_command.h"
#include "launcher/main_layout.h"
#include "launcher/opening.h"
#include "launcher/win32/image_listing.h"
#include "launcher/win32/main_window.h"
#include "launcher/win32/process_start.h"
#include "layout/win32/fonts.h"
#include "platform/win32/dpi.h"
#include "platform/win32/message.h"
#include "tests/wine/test_util.h"

namespace quorvel::test {
namespace {

using namespace launcher;  // the control ids kIdFile1 ... kIdImage1, the launch options
using layout::Kind;

const std::wstring kProgram = BinDirectory() + L"\\quorvel.exe";
const HMODULE kImage = ::LoadLibraryExW(kProgram.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);

std::string Resource(const wchar_t* type) {  // the one of the id 1
  HRSRC found = ::FindResourceW(kImage, MAKEINTRESOURCEW(1), type);
  return found
             ? std::string(static_cast<const char*>(::LockResource(::LoadResource(kImage, found))),
                           ::SizeofResource(kImage, found))
             : "";
}

TEST(ProgramFile, OneIconOfThirtyTwoAndSixteenPixelsInSixteenColours) {
  static int groups = 0;
  ::EnumResourceNamesW(
      kImage, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR, LONG_PTR) CALLBACK -> BOOL { return ++groups; }, 0);
  EXPECT_EQ(groups, 1);
  // A group: three WORDs, then 14-byte entries of width, height, colours,
  // reserved, planes (WORD), bits per pixel (WORD), size, id.
  const std::string group = Resource(RT_GROUP_ICON);
  const auto byte = [&](size_t at) { return std::to_string(BYTE(group[at])); };
  std::vector<std::string> entries;
  for (size_t at = 6; at + 14 <= group.size(); at += 14)
    entries.push_back(byte(at) + "x" + byte(at + 1) + " " + byte(at + 2) + " colours " +
                      byte(at + 6) + " bits");
  EXPECT_EQ(entries,
            (std::vector<std::string>{"32x32 16 colours 4 bits", "16x16 16 colours 4 bits"}));
}

TEST(ProgramFile, ManifestAsksForPerMonitorDpiAndNoElevation) {
  const std::string manifest = Resource(MAKEINTRESOURCEW(24));  // RT_MANIFEST
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}

// A DLL planted beside the program under the name of a system DLL that is not one of Windows'
// known DLLs, with the load order Windows gives such DLLs (the program's folder first): the
// program's way of loading the DLLs it asks for at run time takes the system's, and the planted
// one never runs.
TEST(ProgramFile, ADllPlantedBesideItNeverRuns) {
  QuorvelFolder folder;
  ASSERT_TRUE(folder.CopyProgram(L"library_probe.exe"));
  ASSERT_TRUE(::CopyFileW((BinDirectory() + L"\\..\\planted\\msimg32.dll").c_str(),
                          (folder.program_folder() + L"\\msimg32.dll").c_str(), FALSE));
  // Wine's load order for the probe alone: a DLL of the program's folder before its own.
  const wchar_t* const key = L"Software\\Wine\\AppDefaults\\library_probe.exe";
  HKEY overrides = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, (key + std::wstring(L"\\DllOverrides")).c_str(), 0,
                              nullptr, 0, KEY_SET_VALUE, nullptr, &overrides, nullptr),
            ERROR_SUCCESS);
  ::RegSetValueExW(overrides, L"msimg32", 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(L"native,builtin"), sizeof L"native,builtin");
  ::RegCloseKey(overrides);
  std::wstring command = L"\"" + folder.program_folder() + L"\\library_probe.exe\" msimg32.dll";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  DWORD exit_code = 99;
  if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info)) {
    const win::UniqueHandle process(info.hProcess), thread(info.hThread);
    if (::WaitForSingleObject(process.get(), 10000) != WAIT_OBJECT_0)
      ::TerminateProcess(process.get(), 1);
    ::GetExitCodeProcess(process.get(), &exit_code);
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, key);
  EXPECT_EQ(exit_code, 0u);  // the system folder's msimg32.dll
  EXPECT_FALSE(std::filesystem::exists(folder.program_folder() + L"\\planted-dll-ran"));
}

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
  const int dpi = ExpectedDpi();
  QuorvelFolder folder({L"demo.sms"});
  RunningQuorvel app(folder);
  HWND window = app.window();
  ASSERT_TRUE(window && app.BringToFront());
  ASSERT_EQ(::GetDpiForWindow(window), static_cast<UINT>(dpi));
  ExpectLayout(window, kMainControls, kMainClientWidthTwips, kMainClientHeightTwips, dpi, true);

  // A fixed frame with Close only, centred in the work area.
  EXPECT_EQ(WindowText(window), Widen(kMainCaption));
  EXPECT_EQ(::GetWindowLongW(window, GWL_STYLE) &
                (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU);
  EXPECT_TRUE(::GetWindowLongW(window, GWL_STYLE) & WS_CLIPCHILDREN);  // once it is shown
  RECT frame, work;
  ::GetWindowRect(window, &frame);
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_LE(std::abs((frame.left - work.left) - (work.right - frame.right)), 1);
  EXPECT_LE(std::abs((frame.top - work.top) - (work.bottom - frame.bottom)), 1);

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

  // Once the screen shows it: a yellow Command1 beside the white file list.
  const auto pixel_in = [&](int id) {
    const layout::Rect box = PixelBox(app.Item(id));
    POINT inside{box.left + 6, box.top + 6};
    ::ClientToScreen(window, &inside);
    return ::GetPixel(screen.get(), inside.x, inside.y);
  };
  EXPECT_TRUE(WaitUntil([&] { return pixel_in(kIdCommand1) == RGB(255, 255, 0); }));
  EXPECT_EQ(pixel_in(kIdFile1), RGB(255, 255, 255));
  // The file list's sunken edge, the one control frame painted at the first show.
  const layout::Rect list = PixelBox(app.Item(kIdFile1));
  POINT corner{list.left, list.top};
  ::ClientToScreen(window, &corner);
  EXPECT_EQ(::GetPixel(screen.get(), corner.x, corner.y), ::GetSysColor(COLOR_BTNSHADOW));
  // The logo over the backdrop: drawn, and its transparent magenta nowhere.
  const layout::Rect logo = PixelBox(app.Item(kIdImage1));
  std::set<COLORREF> logo_colours;
  for (int y = logo.top; y < logo.bottom(); ++y) {
    for (int x = logo.left; x < logo.right(); ++x) {
      POINT at{x, y};
      ::ClientToScreen(window, &at);
      logo_colours.insert(::GetPixel(screen.get(), at.x, at.y));
    }
  }
  EXPECT_FALSE(logo_colours.contains(RGB(255, 0, 255)));
  EXPECT_GT(logo_colours.size(), 2u);

  // The caption painted active, then inactive behind another window.
  ExpectPaintedCaption(window, true);
  const win::UniqueWindow other(::CreateWindowExW(0, L"BUTTON", L"other", WS_POPUP | WS_VISIBLE, 0,
                                                  0, 50, 50, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(app.BringToFront(other.get()));
  ExpectPaintedCaption(window, false);
}

// Moved to a monitor of 144 DPI (WM_DPICHANGED as the system sends it, to a window of this
// process): every control at its 144-DPI box, and the caption laid out and painted with the
// metrics of 144 DPI.
TEST(MainWindowDpi, AMoveToAMonitorOf144DpiLaysItOutAgain) {
  ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  std::atomic<HWND> window = nullptr;
  std::thread interface([&] {
    MainWindow main;
    if (main.Create(::GetModuleHandleW(nullptr), SW_SHOWNORMAL)) window = main.hwnd();
    for (MSG message; ::GetMessageW(&message, nullptr, 0, 0) > 0;) ::DispatchMessageW(&message);
  });
  ASSERT_TRUE(WaitUntil([&] { return window.load() != nullptr; }));
  const LONG style = ::GetWindowLongW(window, GWL_STYLE);
  const RECT frame =
      win::WindowRectForClient(layout::TwipsToPixels(kMainClientWidthTwips, 144),
                               layout::TwipsToPixels(kMainClientHeightTwips, 144), style, 0, 144);
  RECT suggested{40, 30, 40 + frame.right - frame.left, 30 + frame.bottom - frame.top};
  Send(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  for (const layout::Control& control : kMainControls)
    EXPECT_EQ(PixelBox(::GetDlgItem(window, control.id)), layout::ToPixels(control.twips, 144))
        << control.name;
  EXPECT_TRUE(
      WaitUntil([&] { return ::SetForegroundWindow(window), ::GetForegroundWindow() == window; }));
  ExpectPaintedCaption(window, true, 144);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  interface.join();
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
  const auto expected = LaunchCommandLine(options, u"demo.sms", "sidewinder ", "640 480 ");
  PressLoadAndRun(app);
  const std::vector<KxRecord> records = folder.WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line, expected);
  EXPECT_EQ(records[0].directory, U16(folder.images()));
  Send(app.window(), WM_NULL);  // answered in its message loop: the launch has stored the options
  for (const SettingWrite& write : LaunchWrites(options))
    EXPECT_EQ(folder.Setting(write.section, write.key), write.value) << write.key;

  // What changes after the launch is dropped at the close.
  const std::string launched = folder.Settings();
  Click(app.Item(kIdCheck9));
  EXPECT_EQ(app.Close(), DWORD{0});
  EXPECT_EQ(folder.Settings(), launched);
}

TEST(MainWindowFileList, ListsImageFilesAndLaunchesTheChosenOneByKeyboardOrMouseOrTellsWhyNot) {
  const std::wstring odd = L"Quillon Marsh \u65e5\u672c \u2603.sms";  // blanks, not ANSI
  QuorvelFolder folder({L"b.SMS", L"A.gg", L"c.sms", L"D.GG", L"notes.txt", L"x.smsx", L"h.sms",
                        L"s.gg", L"gg", L"sms.txt", odd});
  std::filesystem::create_directory(folder.images() + L"\\folder.sms");
  ::SetFileAttributesW((folder.images() + L"\\h.sms").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW((folder.images() + L"\\s.gg").c_str(), FILE_ATTRIBUTE_SYSTEM);
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window() && app.BringToFront());
  HWND list = app.Item(kIdFile1);
  EXPECT_TRUE(WaitUntil([&] { return app.Focus() == list; }, 5s));
  std::vector<std::wstring> items;
  for (wchar_t text[64] = {}; items.size() < size_t(Send(list, LB_GETCOUNT)); items.push_back(text))
    Send(list, LB_GETTEXT, items.size(), reinterpret_cast<LPARAM>(text));
  EXPECT_EQ(items, (std::vector<std::wstring>{L"A.gg", L"b.SMS", L"c.sms", L"D.GG", odd}));
  EXPECT_EQ(Send(list, LB_GETCURSEL), LB_ERR);
  EXPECT_EQ(::GetWindowLongW(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0);

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

  // With nothing selected the user is told so, and nothing is written.
  PressLoadAndRun(app);
  EXPECT_EQ(app.AnswerMessageBox(), L"Please Select One File to Load!");
  Send(app.window(), WM_NULL);  // answered in its message loop: the press is over
  EXPECT_FALSE(std::filesystem::exists(folder.settings_path()));

  // Without kx the settings are written first, then the user is told why.
  ASSERT_TRUE(std::filesystem::remove(folder.program_folder() + L"\\kx.exe"));
  Send(list, LB_SETCURSEL, 4);
  PressLoadAndRun(app);
  const std::wstring told = app.AnswerMessageBox().value_or(L"(no box)");
  EXPECT_TRUE(told.starts_with(L"Korvax could not be started")) << Narrow(told);
  EXPECT_GT(told.size(), told.find(L"\n\n") + 2) << "the system's reason is missing";
  EXPECT_EQ(folder.Setting("Other", "throttle"), "0");

  // With kx back, the first start it records is this one, so the press without
  // a file started nothing; the odd name arrives as one argument. Enter in the
  // file list launches, and so does a double click on a file.
  ASSERT_TRUE(folder.CopyProgram(L"kx.exe"));
  PostKey(list, VK_RETURN);
  ASSERT_EQ(folder.WaitForRecords(1).size(), 1u);
  PostDoubleClick(list, {4, static_cast<int>(Send(list, LB_GETITEMHEIGHT)) / 2});
  const std::vector<KxRecord> records = folder.WaitForRecords(2);
  ASSERT_EQ(records.size(), 2u);
  const MainOptions options = With({Flag::kKeyboard}, 0);  // 11.025Hz
  EXPECT_EQ(records[0].command_line, LaunchCommandLine(options, U16(odd), "", ""));
  EXPECT_EQ(records[0].argv.at(1), U16(odd));
  EXPECT_EQ(records[1].command_line, LaunchCommandLine(options, u"A.gg", "", ""));

  // A name Wine keeps no file of (an unpaired surrogate, as on NTFS) reaches kx unchanged too.
  const std::u16string lone = *LaunchCommandLine(options, u"odd\xD800name.sms", "", "");
  ::SetEnvironmentVariableW(L"KX_RECORD", folder.record_path().c_str());
  EXPECT_EQ(StartProcess(lone), DWORD{0});
  EXPECT_EQ(folder.WaitForRecords(3).at(2).command_line, lone);
}

std::vector<std::wstring> Listed(HWND list) {
  std::vector<std::wstring> items;
  for (wchar_t text[64] = {}; items.size() < size_t(Send(list, LB_GETCOUNT)); items.push_back(text))
    Send(list, LB_GETTEXT, items.size(), reinterpret_cast<LPARAM>(text));
  return items;
}

// Names of a folder that its first batches of entries do not hold, and the images among them as
// File1 lists them.
std::pair<std::vector<std::wstring>, std::vector<std::wstring>> BigFolder(int count) {
  std::vector<std::wstring> names, images;
  for (int i = 0; i < count; ++i) {
    const std::wstring number = std::to_wstring(10000 + i * 7 % count);
    names.push_back(L"image " + number + (i % 3 == 2 ? L".txt" : i % 2 ? L".GG" : L".sms"));
    if (i % 3 != 2) images.push_back(names.back());
  }
  std::sort(images.begin(), images.end(), [](const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  });
  return {names, images};
}

// The program's test seam (QUORVEL_TEST_LISTING) holds the listing thread at a gate of the
// test's, and may refuse the fast way of listing or fail the thread's first batch.
struct HeldListing {
  explicit HeldListing(const wchar_t* seam) {
    ::SetEnvironmentVariableW(L"QUORVEL_TEST_LISTING", seam);
  }
  ~HeldListing() { ::SetEnvironmentVariableW(L"QUORVEL_TEST_LISTING", nullptr); }
  win::UniqueHandle gate{::CreateEventW(nullptr, TRUE, FALSE, ImageListing::kTestGate)};
};

// A big folder, read on while its thread is held: the window is up and answering with File1
// empty, "Load and Run" finds nothing selected, and a close ends the program at once. Let go, the
// thread fills File1 with every image in order, the remembered one selected and in view, read
// the fast way or the way every file system knows; an error on the way is told with the folder
// and the reason, and what was read stays listed.
TEST(MainWindowFileList, ABigFolderIsListedAfterTheWindowIsUpAndAnswering) {
  const auto [names, images] = BigFolder(1500);
  QuorvelFolder big(names);
  ASSERT_TRUE(big.CopyProgram(L"quorvel.exe", L"seamed"));
  const std::wstring remembered = images[images.size() - 9];
  big.WriteSettings(
      "[Launcher]\r\nlast=" + StoredImagePath(U16(big.images() + L"\\" + remembered)) + "\r\n");
  struct Case {
    const wchar_t* seam;
    bool closed_while_read;
    DWORD fails;
  };
  const Case cases[] = {{L"gate", true, 0},
                        {L"gate", false, 0},
                        {L"gate refuse", false, 0},
                        {L"gate refuse fail:64", false, ERROR_NETNAME_DELETED}};
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.seam));
    HeldListing held(c.seam);
    RunningQuorvel app(big);
    ASSERT_TRUE(app.window());  // shown, painted and answering
    HWND list = app.Item(kIdFile1);
    EXPECT_EQ(Send(list, LB_GETCOUNT), 0);
    if (c.closed_while_read) {
      PressLoadAndRun(app);
      EXPECT_EQ(app.AnswerMessageBox(), L"Please Select One File to Load!");
      EXPECT_EQ(app.Close(), DWORD{0});
      continue;
    }
    ::SetEvent(held.gate.get());
    if (c.fails) {
      const std::wstring told = app.AnswerMessageBox().value_or(L"(no box)");
      EXPECT_EQ(told, L"Quorvel cannot list every file in\n" + big.images() + L"\n\n" +
                          win::SystemErrorText(c.fails));
      const std::vector<std::wstring> listed = Listed(list);
      EXPECT_TRUE(!listed.empty() && listed.size() < images.size());
      EXPECT_TRUE(std::includes(images.begin(), images.end(), listed.begin(), listed.end(),
                                [](const std::wstring& a, const std::wstring& b) {
                                  return _wcsicmp(a.c_str(), b.c_str()) < 0;
                                }));
      continue;
    }
    EXPECT_TRUE(WaitUntil([&] { return Send(list, LB_GETCOUNT) == LRESULT(images.size()); }));
    EXPECT_EQ(Listed(list), images);
    const LRESULT selected = Send(list, LB_GETCURSEL), top = Send(list, LB_GETTOPINDEX);
    EXPECT_EQ(selected, LRESULT(images.size() - 9));
    RECT inside{};
    ::GetClientRect(list, &inside);
    EXPECT_TRUE(top <= selected && selected < top + inside.bottom / Send(list, LB_GETITEMHEIGHT))
        << "out of view";
  }
}

// The program's window on a thread of this process, opened on a folder, and File1's count the
// moment Create returns: the window shown, no message handled yet.
struct WindowHere {
  explicit WindowHere(const std::wstring& folder) {
    thread = std::thread([this, folder] {
      MainWindow main;
      if (!main.Create(::GetModuleHandleW(nullptr), SW_SHOWNORMAL, U16(folder))) return;
      count_at_show = ::SendMessageW(::GetDlgItem(main.hwnd(), kIdFile1), LB_GETCOUNT, 0, 0);
      window = main.hwnd();
      for (MSG message; ::GetMessageW(&message, nullptr, 0, 0) > 0;) ::DispatchMessageW(&message);
    });
    WaitUntil([&] { return window.load() != nullptr; });
  }
  ~WindowHere() {
    if (window) ::PostMessageW(window, WM_CLOSE, 0, 0);
    thread.join();
    std::filesystem::current_path(here);
  }
  const std::filesystem::path here = std::filesystem::current_path();
  std::atomic<LRESULT> count_at_show = -1;
  std::atomic<HWND> window = nullptr;
  std::thread thread;
};

// A small folder is full at the first paint. While a big one is read, the pointer over the window
// is the system's "working in background" one; once File1 is full, without a move, the window's
// own again.
TEST(MainWindowFileList, ASmallFolderIsFullAtTheFirstPaintAndABigOneShowsTheWorkInBackground) {
  QuorvelFolder small({L"a.sms", L"b.gg"}), big(BigFolder(1500).first);
  HeldListing held(L"gate");
  EXPECT_EQ(WindowHere(small.images()).count_at_show, 2);
  WindowHere here(big.images());
  ASSERT_TRUE(here.window && here.count_at_show == 0);
  HWND window = here.window;
  EXPECT_TRUE(
      WaitUntil([&] { return ::SetForegroundWindow(window), ::GetForegroundWindow() == window; }));
  RECT box{};
  ::GetWindowRect(::GetDlgItem(window, kIdFile1), &box);
  ::SetCursorPos((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  const auto pointer = [] {
    CURSORINFO info{};
    info.cbSize = sizeof info;
    ::GetCursorInfo(&info);
    return info.hCursor;
  };
  EXPECT_TRUE(WaitUntil([&] { return pointer() == ::LoadCursorW(nullptr, IDC_APPSTARTING); }));
  ::SetEvent(held.gate.get());
  EXPECT_TRUE(WaitUntil([&] { return pointer() != ::LoadCursorW(nullptr, IDC_APPSTARTING); }));
  EXPECT_EQ(pointer(), HCURSOR(::GetClassLongPtrW(window, GCLP_HCURSOR)));
  EXPECT_GT(Send(::GetDlgItem(window, kIdFile1), LB_GETCOUNT), 0);
}

// The tooltip of Command3 comes with the pointer: none before it, then one
// owned by the window, shown while the pointer rests on the button.
TEST(MainWindowTooltip, ComesWithThePointerAndShowsOverTheJoystickButton) {
  QuorvelFolder folder;
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window() && app.BringToFront());
  EXPECT_TRUE(app.Windows(L"tooltips_class32").empty());
  Click(app.Item(kIdOption2));  // Joystick: Command3 enabled
  RECT button{};
  ::GetWindowRect(app.Item(kIdCommand3), &button);
  ::SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
  HWND tooltip = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const std::vector<HWND> found = app.Windows(L"tooltips_class32");
        tooltip = found.empty() ? nullptr : found.front();
        return tooltip != nullptr;
      },
      5s));
  EXPECT_EQ(::GetWindow(tooltip, GW_OWNER), app.window());
  EXPECT_EQ(Send(tooltip, TTM_GETTOOLCOUNT), 1);
  EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(tooltip) != FALSE; }, 5s));
}

// The image launched last is selected and in view at the next start, and launched by the next
// press; once it is gone, nothing is selected and nothing said.
TEST(MainWindowOpening, SelectsTheImageLaunchedLastWhileItIsThere) {
  std::vector<std::wstring> names;
  for (int i = 10; i < 50; ++i) names.push_back(L"image " + std::to_wstring(i) + L".sms");
  QuorvelFolder folder(names);
  const auto start = [&](size_t launches) {
    RunningQuorvel app(folder);
    EXPECT_TRUE(app.window());
    const LRESULT selected = Send(app.Item(kIdFile1), LB_GETCURSEL);
    if (selected == 33) {
      const LRESULT top = Send(app.Item(kIdFile1), LB_GETTOPINDEX);
      RECT list{};
      ::GetClientRect(app.Item(kIdFile1), &list);
      EXPECT_TRUE(top <= selected &&
                  selected < top + list.bottom / Send(app.Item(kIdFile1), LB_GETITEMHEIGHT))
          << "out of view";
      PressLoadAndRun(app);
      EXPECT_EQ(folder.WaitForRecords(launches).at(launches - 1).argv.at(1), u"image 43.sms");
      Send(app.window(), WM_NULL);
    }
    EXPECT_EQ(app.Windows(L"#32770").size(), 0u);
    EXPECT_EQ(app.Close(), DWORD{0});
    return selected;
  };
  EXPECT_EQ(start(0), LB_ERR);
  {
    RunningQuorvel app(folder);
    Send(app.Item(kIdFile1), LB_SETCURSEL, 33);
    PressLoadAndRun(app);
    ASSERT_EQ(folder.WaitForRecords(1).size(), 1u);
  }
  EXPECT_EQ(start(2), 33);
  EXPECT_EQ(start(3), 33);
  std::filesystem::remove(folder.images() + L"\\image 43.sms");
  EXPECT_EQ(start(3), LB_ERR);
}

// A folder or an image given on the command line, from another current directory; a path that
// is not there is told, and the window opens on the current folder.
TEST(MainWindowOpening, OpensTheFolderOrImageItIsGivenAndTellsAMissingOne) {
  QuorvelFolder folder({L"here.sms"});
  const std::wstring more = folder.images() + L"\\More Sp\u00eele";
  std::filesystem::create_directory(more);
  for (const wchar_t* name : {L"p.gg", L"q.sms", L"notes.txt"})
    WriteFileBytes(more + L"\\" + name, "");
  struct Case {
    std::wstring arguments;
    std::wstring directory;
    LRESULT selected;
  };
  const Case cases[] = {{L"\"More Sp\u00eele\"", folder.images(), LB_ERR},
                        {L"\"" + more + L"\\q.sms\" extra.sms", folder.program_folder(), 1}};
  size_t launches = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.arguments));
    RunningQuorvel app(folder, c.arguments, c.directory);
    ASSERT_TRUE(app.window());
    HWND list = app.Item(kIdFile1);
    EXPECT_EQ(Listed(list), (std::vector<std::wstring>{L"p.gg", L"q.sms"}));
    EXPECT_EQ(Send(list, LB_GETCURSEL), c.selected);
    Send(list, LB_SETCURSEL, 1);
    PressLoadAndRun(app);
    ++launches;
    const KxRecord launched = folder.WaitForRecords(launches).at(launches - 1);
    EXPECT_EQ(launched.argv.at(1), u"q.sms");
    EXPECT_EQ(launched.directory, U16(more));
  }
  for (const std::wstring& missing : {std::wstring(L"nowhere\\gone.sms"), more + L"\\notes.txt"}) {
    RunningQuorvel app(folder, L"\"" + missing + L"\"");
    const std::wstring told = app.AnswerMessageBox().value_or(L"(no box)");
    EXPECT_NE(told.find(missing), std::wstring::npos) << Narrow(told);
    ASSERT_TRUE(app.WaitForWindow());
    EXPECT_EQ(Listed(app.Item(kIdFile1)), std::vector<std::wstring>{L"here.sms"});
  }
}

// The argument as Windows resolves it: the root of a drive (a drive letter mapped in the prefix)
// given as "Q:\" from a folder on it, and an image given by its short 8.3 name, selected under
// its long name although the settings remember another image.
TEST(MainWindowOpening, TakesTheArgumentAsWindowsResolvesIt) {
  QuorvelFolder folder({L"Harbour Lights.sms", L"root.sms", L"zeta.gg"});
  const std::wstring sub = folder.images() + L"\\sub";
  std::filesystem::create_directory(sub);
  WriteFileBytes(sub + L"\\sub.sms", "");
  folder.WriteSettings(
      "[Launcher]\r\nlast=" + StoredImagePath(U16(folder.images() + L"\\zeta.gg")) + "\r\n");
  const MappedDrive drive(L"Q:", folder.images());

  wchar_t short_path[MAX_PATH] = {};
  const std::wstring harbour = folder.images() + L"\\Harbour Lights.sms";
  ASSERT_TRUE(::GetShortPathNameW(harbour.c_str(), short_path, MAX_PATH));
  EXPECT_EQ(std::wstring(short_path).find(L"Harbour"), std::wstring::npos) << Narrow(short_path);
  struct Case {
    std::wstring arguments, directory, remembered;
    LRESULT selected;
  };
  const std::vector<std::wstring> root = {L"Harbour Lights.sms", L"root.sms", L"zeta.gg"};
  for (const Case& c :
       {Case{L"\"Q:\\\"", L"Q:\\sub", L"Q:\\zeta.gg", 2},
        Case{L"\"" + std::wstring(short_path) + L"\"", sub, folder.images() + L"\\zeta.gg", 0}}) {
    SCOPED_TRACE(Narrow(c.arguments));
    folder.WriteSettings("[Launcher]\r\nlast=" + StoredImagePath(U16(c.remembered)) + "\r\n");
    RunningQuorvel app(folder, c.arguments, c.directory);
    ASSERT_TRUE(app.window());
    EXPECT_EQ(Listed(app.Item(kIdFile1)), root);
    EXPECT_EQ(Send(app.Item(kIdFile1), LB_GETCURSEL), c.selected);
    EXPECT_EQ(app.Windows(L"#32770").size(), 0u);
  }
}

// A hook refuses the window, giving a reason: the user is told that reason.
TEST(MainWindowStart, TellsTheUserWhyTheWindowCannotBeCreated) {
  static int creations = 0;
  const HHOOK hook = ::SetWindowsHookExW(
      WH_CBT,
      [](int code, WPARAM, LPARAM) CALLBACK -> LRESULT {
        const bool refuse = code == HCBT_CREATEWND && creations++ == 0;
        if (refuse) ::SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return refuse;
      },
      nullptr, ::GetCurrentThreadId());
  MessagesShown told;
  EXPECT_FALSE(MainWindow().Create(::GetModuleHandleW(nullptr), SW_SHOWNORMAL));
  ::UnhookWindowsHookEx(hook);
  EXPECT_EQ(told.texts, std::vector<std::wstring>{L"The main window could not be created.\n\n" +
                                                  win::SystemErrorText(ERROR_NOT_ENOUGH_MEMORY)});
}

}  // namespace
}  // namespace quorvel::test
