// Helpers for the tests under Wine: folders of their own, the real quorvel.exe
// driven by window messages with a deadline on every wait, its message boxes,
// and the layout check its windows share.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "layout/form_layout.h"
#include "platform/handles.h"
#include "platform/text.h"

namespace quorvel::test {

using namespace std::chrono_literals;
using win::Narrow;
using win::Widen;

std::wstring BinDirectory();  // where the tests, quorvel.exe and kx.exe are

// A fresh folder under the temporary directory, removed with its contents.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

std::string ReadFileBytes(const std::wstring& path);  // "" when absent
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
inline bool FileExists(const std::wstring& path) { return std::filesystem::exists(path); }
inline bool CopyProgram(const std::wstring& name, const std::wstring& to_folder) {
  return ::CopyFileW((BinDirectory() + L"\\" + name).c_str(), (to_folder + L"\\" + name).c_str(),
                     0);
}

// Polls `done` until it holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s);

// Presses OK on the process's message box once one shows and waits until it
// has gone; its text, or nullopt when none showed before the deadline.
std::optional<std::wstring> AnswerMessageBox(DWORD process_id, std::chrono::milliseconds timeout);

// What the stand-in emulator recorded for one start.
struct KxRecord {
  std::string command_line;
  std::vector<std::string> argv;
  std::string directory;
};

// Copies of quorvel.exe and (unless told otherwise) kx.exe in a folder whose
// name has blanks and is outside the ANSI code page, so quorvel.ini beside
// them is the test's own; an images folder with empty files of the given
// names, where the program runs; the file where kx records its starts.
class QuorvelFolder {
 public:
  explicit QuorvelFolder(const std::vector<std::wstring>& image_files = {}, bool with_kx = true);
  std::wstring program_folder() const { return dir_ / L"Spi\u00eble \u65e5\u672c \u2603"; }
  std::wstring settings_path() const { return program_folder() + L"\\quorvel.ini"; }
  std::wstring images() const { return dir_ / L"images"; }
  std::wstring record_path() const { return dir_ / L"kx-record.txt"; }
  std::string Settings() const { return ReadFileBytes(settings_path()); }
  void WriteSettings(const std::string& bytes) const { WriteFileBytes(settings_path(), bytes); }
  std::string Setting(std::string_view section, std::string_view key) const;  // or "(absent)"
  // Waits until kx has recorded at least `count` starts; returns every record.
  std::vector<KxRecord> WaitForRecords(size_t count) const;

 private:
  TempDir dir_;
};

// quorvel.exe running in a folder's images folder, up to its main window or
// a message box; ended by its handle when it does not close.
class RunningQuorvel {
 public:
  explicit RunningQuorvel(const QuorvelFolder& folder);  // not copyable: owns the process
  ~RunningQuorvel();

  HWND window() const { return window_; }  // shown and idle, or nullptr
  DWORD process_id() const { return process_id_; }
  HWND Item(int id) const { return ::GetDlgItem(window_, id); }
  std::optional<DWORD> Close();  // the exit code; nullopt: still running
  // Makes the window (by default the main one) the active one, on top.
  bool BringToFront(HWND window = nullptr) const;
  HWND Focus() const;
  std::vector<HWND> Windows(const wchar_t* class_name) const;  // top-level, also hidden

 private:
  win::UniqueHandle process_;
  DWORD process_id_ = 0;
  HWND window_ = nullptr;
};

// SendMessageTimeout, failing the test when the program does not answer.
LRESULT Send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
inline bool IsChecked(HWND button) { return Send(button, BM_GETCHECK) == BST_CHECKED; }
inline void Click(HWND button) { Send(button, BM_CLICK); }
// Posted as the keyboard and the mouse would.
void PostKey(HWND hwnd, WPARAM key);
void PostMouseClick(HWND hwnd, POINT at, bool double_click = false);
std::vector<std::wstring> ListItems(HWND list);
std::wstring WindowText(HWND hwnd);   // sends no message to another process
layout::Rect PixelBox(HWND control);  // in its parent's client area

// Every control of the table stands at its pixel box for the DPI (`inside`:
// inside the client area), visible, enabled, of the class its kind makes and
// with its caption. Where boxes overlap, the control in front takes the
// clicks, and elsewhere each its own: `window` must lie on top.
void ExpectLayout(HWND window, std::span<const layout::Control> controls, int dpi, bool inside);

// GetGuiResources counts nothing under Wine. A process can hold only so many
// GDI objects at once, so what a test leaves behind shows as room lost.
int RoomForGdiObjects();

// The screen shows the window's caption bar painted: the gradient's bands
// where the caption layout for the window's metrics puts them, a white title,
// the icon and the close button. `window` must lie on top.
void ExpectPaintedCaption(HWND window, bool active);

}  // namespace quorvel::test
