#include "tests/wine/gui_test_util.h"

#include <gtest/gtest.h>

#include "launcher/win32/main_window.h"

namespace quorvel::test {
namespace {

constexpr auto kStartTimeout = 20s;
constexpr DWORD kAnswerTimeoutMs = 10000;
constexpr DWORD kExitTimeoutMs = 10000;

// Window and screen coordinates in pixels, as the program (per-monitor aware)
// sees them, whatever the screen's DPI.
void BecomeDpiAware() {
  static const bool aware =
      ::SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2) != FALSE;
  (void)aware;
}

HWND FindMainWindow(DWORD process_id) {
  HWND found = nullptr;
  while ((found = ::FindWindowExW(nullptr, found, launcher::kMainWindowClass, nullptr))) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(found, &owner);
    if (owner == process_id) return found;
  }
  return nullptr;
}

// Shown, painted and idle: Wine may return from WaitForInputIdle before the
// first paint.
bool IsUp(HWND window) {
  DWORD_PTR ignored = 0;
  return ::IsWindowVisible(window) &&
         ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored) &&
         !::GetUpdateRect(window, nullptr, FALSE);
}

}  // namespace

QuorvelFolder::QuorvelFolder(const std::vector<std::wstring>& image_files) {
  ::CreateDirectoryW((dir_ / L"program").c_str(), nullptr);
  ::CreateDirectoryW(images().c_str(), nullptr);
  for (const wchar_t* name : {L"quorvel.exe", L"kx.exe"})
    ::CopyFileW((BinDirectory() + L"\\" + name).c_str(), (dir_ / L"program\\" + name).c_str(),
                FALSE);
  for (const std::wstring& name : image_files) WriteFileBytes(images() + L"\\" + name, "");
}

std::vector<KxRecord> QuorvelFolder::WaitForRecords(size_t count) const {
  std::vector<KxRecord> records;
  WaitUntil(
      [&] {
        records = ReadKxRecords(record_path());
        return records.size() >= count;
      },
      15s);
  return records;
}

RunningQuorvel::RunningQuorvel(const QuorvelFolder& folder) {
  BecomeDpiAware();
  // The launcher passes its environment on to the stand-in kx.
  ::SetEnvironmentVariableW(L"KX_RECORD", folder.record_path().c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  std::wstring command_line = Quote(folder.program());
  PROCESS_INFORMATION info{};
  const BOOL started =
      ::CreateProcessW(folder.program().c_str(), command_line.data(), nullptr, nullptr, FALSE, 0,
                       nullptr, folder.images().c_str(), &startup, &info);
  const DWORD error = ::GetLastError();
  ::SetEnvironmentVariableW(L"KX_RECORD", nullptr);
  if (!started) {
    failure_ = "CreateProcess failed: " + std::to_string(error);
    return;
  }
  process_.reset(info.hProcess);
  ::CloseHandle(info.hThread);
  process_id_ = info.dwProcessId;

  HWND found = nullptr;
  const bool up = WaitUntil(
      [&] {
        found = FindMainWindow(process_id_);
        return (found && IsUp(found)) || ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
      },
      kStartTimeout);
  if (::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0) {
    failure_ = "quorvel.exe ended before its main window came up";
  } else if (!up) {
    failure_ = found ? "the main window did not become visible and idle"
                     : "no main window of class Quorvel.Form1";
  } else {
    window_ = found;
    thread_id_ = ::GetWindowThreadProcessId(found, nullptr);
  }
}

RunningQuorvel::~RunningQuorvel() {
  if (!process_ || Close()) return;
  ::TerminateProcess(process_.get(), 255);
  ::WaitForSingleObject(process_.get(), kExitTimeoutMs);
}

std::optional<DWORD> RunningQuorvel::Close() {
  if (!process_) return std::nullopt;
  if (window_) ::PostMessageW(window_, WM_CLOSE, 0, 0);
  if (::WaitForSingleObject(process_.get(), kExitTimeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD exit_code = 0;
  ::GetExitCodeProcess(process_.get(), &exit_code);
  process_.reset();
  window_ = nullptr;
  return exit_code;
}

bool RunningQuorvel::BringToFront() const {
  // Other tests' windows may come up on top at any time: retry until this one
  // is active and nothing covers it.
  return WaitUntil([&] {
    ::SetForegroundWindow(window_);
    ::BringWindowToTop(window_);
    RECT frame;
    ::GetWindowRect(window_, &frame);
    const POINT probes[] = {{frame.left + 2, frame.top + 2},
                            {frame.right - 3, frame.top + 2},
                            {frame.left + 2, frame.bottom - 3},
                            {frame.right - 3, frame.bottom - 3},
                            {(frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2}};
    for (const POINT& probe : probes)
      if (::GetAncestor(::WindowFromPoint(probe), GA_ROOT) != window_) return false;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return ::GetGUIThreadInfo(thread_id_, &info) && info.hwndActive == window_;
  });
}

HWND RunningQuorvel::Focus() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(thread_id_, &info) ? info.hwndFocus : nullptr;
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                             &result))
    ADD_FAILURE() << "no answer to message 0x" << std::hex << message;
  return static_cast<LRESULT>(result);
}

bool IsChecked(HWND button) { return Send(button, BM_GETCHECK) == BST_CHECKED; }

void Click(HWND button) { Send(button, BM_CLICK); }

void PostListClick(HWND list, int index, bool double_click) {
  const int top = static_cast<int>(Send(list, LB_GETTOPINDEX));
  const int height = static_cast<int>(Send(list, LB_GETITEMHEIGHT, index));
  const LPARAM at = MAKELPARAM(4, (index - top) * height + height / 2);
  // Posted, not sent: the list box waits for the button's release in its
  // queue to tell a click from a drag.
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
  if (!double_click) return;
  ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  const LRESULT count = Send(list, LB_GETCOUNT);
  for (LRESULT index = 0; index < count; ++index) {
    std::wstring text(static_cast<size_t>(Send(list, LB_GETTEXTLEN, index)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(Send(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(std::move(text));
  }
  return items;
}

std::wstring ClassName(HWND hwnd) {
  wchar_t name[256] = {};
  ::GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
  return name;
}

std::wstring WindowText(HWND hwnd) {
  wchar_t text[512] = {};
  ::GetWindowTextW(hwnd, text, static_cast<int>(std::size(text)));
  return text;
}

RECT RectInParent(HWND control) {
  RECT box{};
  ::GetWindowRect(control, &box);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(control), reinterpret_cast<POINT*>(&box), 2);
  return box;
}

namespace {

size_t RowBytes(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

BITMAPINFOHEADER Header24(int width, int height) {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(RowBytes(width) * height);
  return header;
}

}  // namespace

COLORREF Screenshot::Pixel(int x, int y) const {
  const unsigned char* bgr_at = &bgr[(height - 1 - y) * RowBytes(width) + x * 3];
  return RGB(bgr_at[2], bgr_at[1], bgr_at[0]);
}

bool Screenshot::SaveBmp(const std::wstring& path) const {
  const BITMAPINFOHEADER info = Header24(width, height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + bgr.size());
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  bytes.append(bgr.begin(), bgr.end());
  WriteFileBytes(path, bytes);
  return ReadFileBytes(path) == bytes;
}

Screenshot CaptureScreen(const RECT& area) {
  Screenshot shot;
  shot.width = area.right - area.left;
  shot.height = area.bottom - area.top;
  win::WindowDc screen(nullptr, ::GetDC(nullptr));
  BITMAPINFO info{};
  info.bmiHeader = Header24(shot.width, shot.height);
  void* bits = nullptr;
  win::UniqueBitmap bitmap(
      ::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  win::UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  if (!bitmap || !memory) return shot;
  {
    win::ScopedSelect selected(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), area.left, area.top,
             SRCCOPY);
  }
  ::GdiFlush();
  const auto* first = static_cast<const unsigned char*>(bits);
  shot.bgr.assign(first, first + info.bmiHeader.biSizeImage);
  return shot;
}

}  // namespace quorvel::test
