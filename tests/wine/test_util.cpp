#include "tests/wine/test_util.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cwctype>
#include <fstream>
#include <set>
#include <sstream>

#include "caption/caption_geometry.h"
#include "caption/win32/caption_paint.h"
#include "launcher/win32/main_window.h"
#include "platform/win32/dpi.h"
#include "platform/win32/message.h"
#include "settings/ini_text.h"

namespace quorvel::test {
namespace {

constexpr DWORD kTimeoutMs = 10000;

GUITHREADINFO ThreadInfo(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

// kx's record: UTF-8, with an unpaired surrogate in the three bytes of its code point.
std::u16string FromWtf8(std::string_view bytes) {
  std::u16string text;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i++]);
    const int trailing = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = lead & (0x7F >> trailing);
    for (int k = 0; k < trailing && i < bytes.size(); ++k) c = (c << 6) | (bytes[i++] & 0x3F);
    if (c >= 0x10000) text += {char16_t(0xD7C0 + (c >> 10)), char16_t(0xDC00 + (c & 0x3FF))};
    if (c < 0x10000) text += char16_t(c);
  }
  return text;
}

MessagesShown* g_shown = nullptr;

void TakeMessage(std::wstring_view text) {
  if (g_shown)
    g_shown->texts.emplace_back(text);
  else
    ADD_FAILURE() << "a message box nobody answers: " << Narrow(text);
}

const bool kMessagesTaken = (win::SetMessageSink(TakeMessage), true);

}  // namespace

MessagesShown::MessagesShown() { g_shown = this; }
MessagesShown::~MessagesShown() { g_shown = nullptr; }

std::wstring BinDirectory() {
  wchar_t path[MAX_PATH * 4];
  const std::wstring program(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4));
  return std::filesystem::path(program).parent_path();
}

int ExpectedDpi() {
  const char* expected = std::getenv("QUORVEL_EXPECT_DPI");
  return expected ? std::atoi(expected) : 96;
}

std::string ReadFileBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  EXPECT_TRUE(out << bytes) << Narrow(path);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (; !done(); ::Sleep(10))
    if (std::chrono::steady_clock::now() >= deadline) return false;
  return true;
}

QuorvelFolder::QuorvelFolder(const std::vector<std::wstring>& image_files) {
  static std::atomic<int> counter{0};
  // Wine gives out the same process ids run after run: the time keeps a folder
  // left by a run cut short (perhaps with a read-only folder inside) out of the way.
  dir_ = std::filesystem::temp_directory_path() /
         ("quorvel-test-" + std::to_string(::GetCurrentProcessId()) + "-" +
          std::to_string(::GetTickCount64()) + "-" + std::to_string(counter++));
  std::filesystem::create_directories(program_folder());
  std::filesystem::create_directory(images());
  for (const wchar_t* program : {L"quorvel.exe", L"kx.exe"}) EXPECT_TRUE(CopyProgram(program));
  for (const std::wstring& name : image_files) WriteFileBytes(images() + L"\\" + name, "");
  // The programs this test starts keep per-user settings here, not in the prefix's profile.
  ::SetEnvironmentVariableW(L"LOCALAPPDATA", local_app_data().c_str());
}

std::string QuorvelFolder::Setting(std::string_view section, std::string_view key) const {
  return ini::FindValue(Settings(), section, key).value_or("(absent)");
}

std::vector<KxRecord> QuorvelFolder::WaitForRecords(size_t count) const {
  std::vector<KxRecord> records;
  WaitUntil([&] {
    records.clear();
    std::istringstream lines(ReadFileBytes(record_path()));
    KxRecord current;
    for (std::string line; std::getline(lines, line);) {
      const size_t equals = line.find('=');
      const std::string name = line.substr(0, equals);
      const std::u16string value = FromWtf8(line.substr(equals + 1));
      if (name == "cmdline") current.command_line = value;
      if (name.starts_with("argv[")) current.argv.push_back(value);
      if (name == "cwd") current.directory = value;
      if (name == "end") records.push_back(std::exchange(current, {}));
    }
    return records.size() >= count;
  });
  return records;
}

RunningQuorvel::RunningQuorvel(const QuorvelFolder& folder, const std::wstring& arguments,
                               std::wstring directory, std::wstring program_folder) {
  if (directory.empty()) directory = folder.images();
  if (program_folder.empty()) program_folder = folder.program_folder();
  // Pixels as the program (per-monitor aware) sees them, whatever the DPI.
  ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  // The launcher passes its environment on to the stand-in kx.
  ::SetEnvironmentVariableW(L"KX_RECORD", folder.record_path().c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const std::wstring program = program_folder + L"\\quorvel.exe";
  std::wstring command_line = L"\"" + program + L"\" " + arguments;
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       directory.c_str(), &startup, &info)) {
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    process_id_ = info.dwProcessId;
  }
  ::SetEnvironmentVariableW(L"KX_RECORD", nullptr);
  WaitForWindow();
}

HWND RunningQuorvel::WaitForWindow() {
  // Shown, painted and idle: Wine's WaitForInputIdle may return before a paint.
  const auto up = [](HWND found) {
    DWORD_PTR ignored = 0;
    return ::IsWindowVisible(found) &&
           ::SendMessageTimeoutW(found, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored) &&
           !::GetUpdateRect(found, nullptr, FALSE);
  };
  WaitUntil(
      [&] {
        for (HWND found : Windows(launcher::kMainWindowClass))
          window_ = up(found) ? found : nullptr;
        const std::vector<HWND> boxes = Windows(L"#32770");
        return window_ || !process_ || std::any_of(boxes.begin(), boxes.end(), ::IsWindowVisible) ||
               ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
      },
      20s);
  return window_;
}

RunningQuorvel::~RunningQuorvel() {
  if (!process_ || Close()) return;
  ::TerminateProcess(process_.get(), 255);
  ::WaitForSingleObject(process_.get(), kTimeoutMs);
}

std::optional<DWORD> RunningQuorvel::Close() {
  if (window_) ::PostMessageW(window_, WM_CLOSE, 0, 0);
  DWORD exit_code = 0;
  if (::WaitForSingleObject(process_.get(), kTimeoutMs) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(process_.get(), &exit_code))
    return std::nullopt;
  process_.reset();
  window_ = nullptr;
  return exit_code;
}

bool RunningQuorvel::BringToFront(HWND window) const {
  window = window ? window : window_;
  return WaitUntil([&] {
    ::SetForegroundWindow(window);
    ::BringWindowToTop(window);
    RECT box;
    ::GetWindowRect(window, &box);
    const POINT middle{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    return ThreadInfo(window).hwndActive == window &&
           ::GetAncestor(::WindowFromPoint(middle), GA_ROOT) == window;
  });
}

HWND RunningQuorvel::Focus() const { return ThreadInfo(window_).hwndFocus; }

std::vector<HWND> RunningQuorvel::Windows(const wchar_t* class_name) const {
  std::vector<HWND> found;
  for (HWND hwnd = nullptr; (hwnd = ::FindWindowExW(nullptr, hwnd, class_name, nullptr));) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == process_id_) found.push_back(hwnd);
  }
  return found;
}

HWND RunningQuorvel::Shown(const wchar_t* class_name,
                           const std::optional<std::wstring>& caption) const {
  HWND shown = nullptr;
  WaitUntil([&] {
    for (HWND found : Windows(class_name))
      if (::IsWindowVisible(found) && (!caption || WindowText(found) == *caption)) shown = found;
    return shown != nullptr;
  });
  return shown;
}

std::optional<std::wstring> RunningQuorvel::AnswerMessageBox() const {
  HWND box = Shown(L"#32770", std::nullopt);
  if (!box) return std::nullopt;
  // The message text is the box's static control with the id 0xFFFF.
  const std::wstring text = WindowText(::GetDlgItem(box, 0xFFFF));
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  WaitUntil([&] { return !::IsWindowVisible(box); });
  return text;
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kTimeoutMs, &result))
    ADD_FAILURE() << "no answer to message 0x" << std::hex << message;
  return static_cast<LRESULT>(result);
}

std::wstring UnixPath(const std::wstring& path) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unix_name = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  char* name = unix_name ? unix_name(path.c_str()) : nullptr;
  EXPECT_TRUE(name) << "not under Wine, or no Unix name: " << Narrow(path);
  const std::wstring unix_path = name ? Widen(name) : L"";
  ::HeapFree(::GetProcessHeap(), 0, name);
  return unix_path;
}

void RunUnix(const std::wstring& command_line) {
  std::wstring command = L"start.exe /wait /unix " + command_line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                               nullptr, nullptr, &startup, &process));
  const win::UniqueHandle owned(process.hProcess), thread(process.hThread);
  ASSERT_EQ(::WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
}

MappedDrive::MappedDrive(const std::wstring& drive, const std::wstring& folder) {
  wchar_t prefix[MAX_PATH] = {};
  EXPECT_TRUE(::GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH));
  link = std::wstring(prefix) + L"/dosdevices/" + drive;
  for (wchar_t& c : link) c = static_cast<wchar_t>(::towlower(c));
  RunUnix(L"/bin/ln -sfn \"" + UnixPath(folder) + L"\" \"" + link + L"\"");
  EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(drive + L"\\"); }, 10s));
}

MappedDrive::~MappedDrive() { RunUnix(L"/bin/rm -f \"" + link + L"\""); }

void PostKey(HWND hwnd, WPARAM key) {
  const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(static_cast<UINT>(key), 0)) << 16;
  ::PostMessageW(hwnd, WM_KEYDOWN, key, scan | 1);
  ::PostMessageW(hwnd, WM_KEYUP, key, scan | 0xC0000001);
}

// Posted: a list box waits for the button's release in its queue.
void PostDoubleClick(HWND hwnd, POINT at) {
  for (const UINT down : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
    ::PostMessageW(hwnd, down, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
}

std::wstring WindowText(HWND hwnd) {
  wchar_t text[2048] = {};
  ::GetWindowTextW(hwnd, text, 2048);
  return text;
}

layout::Rect PixelBox(HWND control) {
  RECT box{};
  ::GetWindowRect(control, &box);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&box), 2);
  return {box.left, box.top, box.right - box.left, box.bottom - box.top};
}

void ExpectLayout(HWND window, std::span<const layout::Control> controls, int width_twips,
                  int height_twips, int dpi, bool inside) {
  // The class and the type of each kind, in the order of layout::Kind.
  const std::pair<std::wstring, LONG> kMade[] = {
      {L"Static", SS_LEFT},        {L"ListBox", LBS_NOTIFY},  {L"Button", BS_AUTOCHECKBOX},
      {L"Button", BS_RADIOBUTTON}, {L"Button", BS_OWNERDRAW}, {L"Static", SS_OWNERDRAW}};
  RECT client;
  ::GetClientRect(window, &client);
  EXPECT_EQ(client.right, layout::TwipsToPixels(width_twips, dpi));
  EXPECT_EQ(client.bottom, layout::TwipsToPixels(height_twips, dpi));
  const auto hit = [&](POINT point) {
    ::ClientToScreen(window, &point);
    return ::WindowFromPoint(point);
  };
  for (size_t i = 0; i < controls.size(); ++i) {
    const layout::Control& control = controls[i];
    SCOPED_TRACE(std::string(control.name));
    HWND item = ::GetDlgItem(window, control.id);
    const layout::Rect box = PixelBox(item);
    EXPECT_EQ(box, layout::ToPixels(control.twips, dpi));
    EXPECT_TRUE(!inside || (box.left >= 0 && box.top >= 0 && box.right() <= client.right &&
                            box.bottom() <= client.bottom));
    EXPECT_TRUE(::IsWindowVisible(item) && ::IsWindowEnabled(item));
    EXPECT_EQ(WindowText(item), Widen(control.caption));
    wchar_t name[16] = {};
    ::GetClassNameW(item, name, 16);
    const std::pair<std::wstring, LONG> made{name, ::GetWindowLongW(item, GWL_STYLE) & 0xF};
    EXPECT_EQ(made, kMade[static_cast<int>(control.kind)]);

    // The parts other controls cover are theirs; the middle, if not covered,
    // is its own. Parts are in the control's own pixels.
    const POINT middle{box.width / 2, box.height / 2};
    bool middle_covered = false;
    for (const layout::Rect& part : layout::CoveredParts(controls, i, dpi)) {
      HWND front =
          hit({box.left + part.left + part.width / 2, box.top + part.top + part.height / 2});
      EXPECT_TRUE(front != item && ::GetParent(front) == window);
      middle_covered |= middle.x >= part.left && middle.x < part.right() && middle.y >= part.top &&
                        middle.y < part.bottom();
    }
    const POINT at{box.left + middle.x, box.top + middle.y};
    EXPECT_TRUE(middle_covered || !::PtInRect(&client, at) || hit(at) == item);
  }
}

int RoomForGdiObjects() {
  std::vector<HBRUSH> brushes;
  while (HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3))) brushes.push_back(brush);
  for (HBRUSH brush : brushes) ::DeleteObject(brush);
  return static_cast<int>(brushes.size());
}

void ExpectPaintedCaption(HWND window, bool active, int dpi) {
  const auto layout = caption::LayOutCaption(
      caption::CaptionInputOf(window, true, dpi != 0 ? dpi : win::WindowDpi(window)));
  ASSERT_TRUE(layout && layout->icon);
  const caption::Colours colours = caption::CaptionColours(active);
  const auto bands = caption::GradientBands(colours.start, colours.end, layout->band_count);
  RECT frame;
  ::GetWindowRect(window, &frame);
  const win::WindowDc screen(nullptr, ::GetDC(nullptr));
  const auto pixel = [&](int x, int y) {
    return ::GetPixel(screen.get(), frame.left + x, frame.top + y);
  };
  // Each band's colour along the caption's top row, which nothing covers.
  const auto band_pixel = [&](size_t k) {
    return pixel((layout->bands[k].left + layout->bands[k].right) / 2, layout->frame);
  };
  EXPECT_TRUE(WaitUntil([&] { return band_pixel(0) == bands[0]; }))
      << std::hex << band_pixel(0) << " for " << bands[0];
  for (size_t k = 0; k < bands.size(); ++k) EXPECT_EQ(band_pixel(k), bands[k]) << "band " << k;

  const auto count = [&](const caption::Box& box, const std::function<bool(COLORREF)>& which) {
    int found = 0;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) found += which(pixel(x, y)) ? 1 : 0;
    return found;
  };
  caption::Box title = layout->title;
  title.right = title.left + 40;  // the title's start, on the gradient's darkest bands
  EXPECT_GT(count(title, [](COLORREF c) { return c == RGB(255, 255, 255); }), 20) << "title";
  EXPECT_GT(count(*layout->icon, [&](COLORREF c) { return c != bands[0] && c != bands[1]; }), 20)
      << "icon";
  const caption::Box& close = layout->buttons.at(0).box;
  EXPECT_EQ(pixel(close.left + 2, close.top + 2), ::GetSysColor(COLOR_BTNFACE)) << "close button";

  // Inside the button's edges, a cross (Marlett's glyph; a letter where that font is missing):
  // its dark pixels mirror onto each other left to right and top to bottom. (At a DPI that the
  // window's frame does not have, the client area covers the caption's lower part.)
  if (dpi != 0 && dpi != win::WindowDpi(window)) return;
  std::set<std::pair<int, int>> dark;
  for (int y = close.top + 3; y < close.bottom - 3; ++y)
    for (int x = close.left + 3; x < close.right - 3; ++x)
      if (const COLORREF c = pixel(x, y); GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 96)
        dark.insert({x, y});
  ASSERT_GT(dark.size(), 6u) << "no glyph on the close button";
  const auto [left, right] = std::minmax_element(dark.begin(), dark.end());
  int top = right->second, bottom = top;
  for (const auto& [x, y] : dark) top = std::min(top, y), bottom = std::max(bottom, y);
  size_t mirrored = 0;
  for (const auto& [x, y] : dark)
    mirrored +=
        dark.count({left->first + right->first - x, y}) && dark.count({x, top + bottom - y});
  EXPECT_GE(mirrored * 10, dark.size() * 9) << "the close button shows no cross";
}

}  // namespace quorvel::test
