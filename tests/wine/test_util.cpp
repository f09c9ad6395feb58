#include "tests/wine/test_util.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <sstream>

#include "caption/caption_geometry.h"
#include "caption/win32/caption_paint.h"
#include "launcher/win32/main_window.h"
#include "settings/ini_text.h"

namespace quorvel::test {
namespace {

constexpr DWORD kTimeoutMs = 10000;

std::vector<HWND> TopLevelWindows(DWORD process_id, const wchar_t* class_name) {
  std::vector<HWND> found;
  for (HWND hwnd = nullptr; (hwnd = ::FindWindowExW(nullptr, hwnd, class_name, nullptr));) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner == process_id) found.push_back(hwnd);
  }
  return found;
}

GUITHREADINFO ThreadInfo(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info;
}

}  // namespace

std::wstring BinDirectory() {
  wchar_t path[MAX_PATH * 4];
  const std::wstring program(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH * 4));
  return std::filesystem::path(program).parent_path();
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ =
      std::filesystem::temp_directory_path() /
      ("quorvel-test-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(counter++));
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);  // left by an earlier process of the same id
  std::filesystem::create_directory(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
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
  while (!done()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::Sleep(10);
  }
  return true;
}

std::optional<std::wstring> AnswerMessageBox(DWORD process_id, std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  const auto shown = [&] {
    for (HWND dialog : TopLevelWindows(process_id, L"#32770"))
      if (::IsWindowVisible(dialog)) box = dialog;
    return box != nullptr;
  };
  if (!WaitUntil(shown, timeout)) return std::nullopt;
  // The message text is the box's static control with the id 0xFFFF.
  const std::wstring text = WindowText(::GetDlgItem(box, 0xFFFF));
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  WaitUntil([&] { return !::IsWindowVisible(box); });
  return text;
}

QuorvelFolder::QuorvelFolder(const std::vector<std::wstring>& image_files, bool with_kx) {
  std::filesystem::create_directory(program_folder());
  std::filesystem::create_directory(images());
  EXPECT_TRUE(CopyProgram(L"quorvel.exe", program_folder()));
  EXPECT_TRUE(!with_kx || CopyProgram(L"kx.exe", program_folder()));
  for (const std::wstring& name : image_files) WriteFileBytes(images() + L"\\" + name, "");
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
      const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
      if (name == "cmdline") current.command_line = value;
      if (name.starts_with("argv[")) current.argv.push_back(value);
      if (name == "cwd") current.directory = value;
      if (name == "end") records.push_back(std::exchange(current, {}));
    }
    return records.size() >= count;
  });
  return records;
}

RunningQuorvel::RunningQuorvel(const QuorvelFolder& folder) {
  // Pixels as the program (per-monitor aware) sees them, whatever the DPI.
  ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  // The launcher passes its environment on to the stand-in kx.
  ::SetEnvironmentVariableW(L"KX_RECORD", folder.record_path().c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  const std::wstring program = folder.program_folder() + L"\\quorvel.exe";
  std::wstring command_line = L"\"" + program + L"\"";
  PROCESS_INFORMATION info{};
  if (::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.images().c_str(), &startup, &info)) {
    process_.reset(info.hProcess);
    ::CloseHandle(info.hThread);
    process_id_ = info.dwProcessId;
  }
  ::SetEnvironmentVariableW(L"KX_RECORD", nullptr);
  // Shown, painted and idle: Wine may return from WaitForInputIdle before the
  // first paint.
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
        return window_ || !process_ || !Windows(L"#32770").empty() ||
               ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
      },
      20s);
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
  return TopLevelWindows(process_id_, class_name);
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kTimeoutMs, &result))
    ADD_FAILURE() << "no answer to message 0x" << std::hex << message;
  return static_cast<LRESULT>(result);
}

void PostKey(HWND hwnd, WPARAM key) {
  const LPARAM scan = static_cast<LPARAM>(::MapVirtualKeyW(static_cast<UINT>(key), 0)) << 16;
  ::PostMessageW(hwnd, WM_KEYDOWN, key, scan | 1);
  ::PostMessageW(hwnd, WM_KEYUP, key, scan | 0xC0000001);
}

void PostMouseClick(HWND hwnd, POINT at, bool double_click) {
  // Posted, not sent: a list box waits for the button's release in its queue
  // to tell a click from a drag.
  for (const UINT down : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
    if (down == WM_LBUTTONDBLCLK && !double_click) break;
    ::PostMessageW(hwnd, down, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  }
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items(static_cast<size_t>(Send(list, LB_GETCOUNT)));
  for (size_t index = 0; index < items.size(); ++index) {
    items[index].resize(static_cast<size_t>(Send(list, LB_GETTEXTLEN, index)) + 1);
    items[index].resize(static_cast<size_t>(
        Send(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(items[index].data()))));
  }
  return items;
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

void ExpectLayout(HWND window, std::span<const layout::Control> controls, int dpi, bool inside) {
  using layout::Kind;
  RECT client;
  ::GetClientRect(window, &client);
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
    const bool is_static = control.kind == Kind::kLabel || control.kind == Kind::kPicture;
    EXPECT_EQ(_wcsicmp(name, is_static                         ? L"Static"
                             : control.kind == Kind::kFileList ? L"ListBox"
                                                               : L"Button"),
              0);
    const DWORD type = ::GetWindowLongW(item, GWL_STYLE) & BS_TYPEMASK;
    EXPECT_TRUE(control.kind != Kind::kCheckBox || type == BS_AUTOCHECKBOX);
    EXPECT_TRUE(control.kind != Kind::kOptionButton || type == BS_RADIOBUTTON ||
                type == BS_AUTORADIOBUTTON);

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

void ExpectPaintedCaption(HWND window, bool active) {
  const auto layout = caption::LayOutCaption(caption::CaptionInputOf(window, true));
  ASSERT_TRUE(layout);
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
  ASSERT_TRUE(layout->icon);
  EXPECT_GT(count(*layout->icon, [&](COLORREF c) { return c != bands[0] && c != bands[1]; }), 20)
      << "icon";
  const caption::Box& close = layout->buttons.at(0).box;
  EXPECT_EQ(pixel(close.left + 2, close.top + 2), ::GetSysColor(COLOR_BTNFACE)) << "close button";
}

}  // namespace quorvel::test
