// Helpers for the tests under Wine: folders of their own, the real quorvel.exe
// driven by window messages with a deadline on every wait, its message boxes,
// and the layout and caption checks its windows share.
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
#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "settings/settings_file.h"
#include "settings/win32/settings_store.h"

namespace quorvel::test {

using namespace std::chrono_literals;
// The tests' own texts: exact, or a marker where a text cannot be converted.
inline std::string Narrow(std::wstring_view text) { return win::Narrow(text).value_or("(?)"); }
inline std::wstring Widen(std::string_view text) { return win::Widen(text).value_or(L"(?)"); }

std::wstring BinDirectory();                          // where the tests, quorvel.exe and kx.exe are
int ExpectedDpi();                                    // QUORVEL_EXPECT_DPI, or 96
std::string ReadFileBytes(const std::wstring& path);  // "" when absent
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 15s);

struct KxRecord {  // what the stand-in emulator received for one start, exactly
  std::u16string command_line, directory;
  std::vector<std::u16string> argv;
};
inline std::u16string U16(std::wstring_view text) { return {text.begin(), text.end()}; }

// A fresh folder, removed with its contents: copies of quorvel.exe and kx.exe
// in a folder named with blanks and outside the ANSI code page, an images
// folder with empty files of the given names, and where kx records its starts.
class QuorvelFolder {
 public:
  explicit QuorvelFolder(const std::vector<std::wstring>& image_files = {});
  QuorvelFolder(const QuorvelFolder&) = delete;
  ~QuorvelFolder() { std::filesystem::remove_all(dir_, ignored_); }
  std::wstring program_folder() const { return dir_ / L"Spi\u00eble \u65e5\u672c \u2603"; }
  std::wstring settings_path() const { return program_folder() + L"\\quorvel.ini"; }
  std::wstring images() const { return dir_ / L"images"; }
  std::wstring record_path() const { return dir_ / L"kx-record.txt"; }
  std::wstring local_app_data() const { return dir_ / L"Local"; }  // the programs' LOCALAPPDATA
  std::wstring user_settings_path() const {  // the program folder's file there
    return Widen(settings::UserSettingsPathOf(Narrow(local_app_data()), U16(program_folder())));
  }
  // A copy of a program from beside the tests: the shipped quorvel.exe, or (`from` "seamed")
  // the tests' own build of it, whose folder listing a test can hold or fail.
  bool CopyProgram(const std::wstring& name, const std::wstring& from = L".") const {
    return ::CopyFileW((BinDirectory() + L"\\" + from + L"\\" + name).c_str(),
                       (program_folder() + L"\\" + name).c_str(), FALSE);
  }
  std::string Settings() const { return ReadFileBytes(settings_path()); }
  void WriteSettings(const std::string& bytes) const { WriteFileBytes(settings_path(), bytes); }
  std::string Setting(std::string_view section, std::string_view key) const;  // or "(absent)"
  // Waits until kx has recorded at least `count` starts; returns every record.
  std::vector<KxRecord> WaitForRecords(size_t count) const;

 private:
  std::filesystem::path dir_;
  std::error_code ignored_;
};

// SendMessageTimeout, failing the test when the program does not answer.
LRESULT Send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
inline bool IsChecked(HWND button) { return Send(button, BM_GETCHECK) == BST_CHECKED; }
inline void Click(HWND button) { Send(button, BM_CLICK); }

// quorvel.exe with the arguments, running in `directory` (by default the
// folder's images folder), up to its main window or a message box; ended by
// its handle when it does not close.
class RunningQuorvel {
 public:
  // `program_folder`: the program's folder reached another way.
  explicit RunningQuorvel(const QuorvelFolder& folder, const std::wstring& arguments = L"",
                          std::wstring directory = L"",
                          std::wstring program_folder = L"");  // not copyable: owns the process
  ~RunningQuorvel();
  HWND WaitForWindow();                    // after a message box: the window that follows
  HWND window() const { return window_; }  // shown and idle, or nullptr
  HWND Item(int id) const { return ::GetDlgItem(window_, id); }
  std::optional<DWORD> Close();  // the exit code; nullopt: still running
  // Makes the window (by default the main one) the active one, on top.
  bool BringToFront(HWND window = nullptr) const;
  HWND Focus() const;
  std::vector<HWND> Windows(const wchar_t* class_name) const;  // top-level, also hidden
  // A visible window of the class (with the caption, if given), or nullptr.
  HWND Shown(const wchar_t* class_name, const std::optional<std::wstring>& caption) const;
  HWND Open(int button, const wchar_t* class_name, std::string_view caption) const {
    Click(Item(button));
    return Shown(class_name, Widen(caption));
  }
  // Presses OK on the program's message box once one shows and waits until it
  // has gone; its text, or nullopt when none showed.
  std::optional<std::wstring> AnswerMessageBox() const;

 private:
  win::UniqueHandle process_;
  DWORD process_id_ = 0;
  HWND window_ = nullptr;
};

// The program's messages shown in this process while one of these lives; at
// any other time a message fails the test at once, as nobody would answer its box.
struct MessagesShown {
  MessagesShown();
  ~MessagesShown();
  std::vector<std::wstring> texts;
};

// Where Wine keeps a Windows path, and a Unix command run to its end.
std::wstring UnixPath(const std::wstring& path);
void RunUnix(const std::wstring& command_line);

// A drive letter of the test prefix ("Q:") mapped to a folder while this lives.
struct MappedDrive {
  MappedDrive(const std::wstring& drive, const std::wstring& folder);
  ~MappedDrive();
  std::wstring link;
};

void PostKey(HWND hwnd, WPARAM key);  // posted as the keyboard would
void PostDoubleClick(HWND hwnd, POINT at);
std::wstring WindowText(HWND hwnd);   // sends no message to another process
layout::Rect PixelBox(HWND control);  // in its parent's client area

// The client area and every control of the table have their pixel sizes for
// the DPI (`inside`: the controls inside the client area); each control is
// visible, enabled, of its kind's class and with its caption, and takes the
// clicks where no control lies in front of it. `window` must lie on top.
void ExpectLayout(HWND window, std::span<const layout::Control> controls, int width_twips,
                  int height_twips, int dpi, bool inside);

// GetGuiResources counts nothing under Wine. A process can hold only so many
// GDI objects at once, so what a test leaves behind shows as room lost.
int RoomForGdiObjects();

// The screen shows the window's caption bar painted: the gradient's bands
// where the caption layout for the metrics at `dpi` puts them, a white title,
// the icon and the close button with its cross. `window` must lie on top.
void ExpectPaintedCaption(HWND window, bool active, int dpi = 0);  // 0: the window's DPI

}  // namespace quorvel::test
