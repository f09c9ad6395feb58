// Helpers for the tests that run under Wine: folders of their own, child
// processes with deadlines, and the message boxes those processes show.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace quorvel::test {

using namespace std::chrono_literals;

// The folder that holds the test programs, quorvel.exe, kx.exe and probe.exe.
std::wstring BinDirectory();

// A fresh folder under the temporary directory, removed with its contents.
class TempDir {
 public:
  TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir();
  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }
  // Copies a program of the build folder into this folder; returns its path.
  std::wstring CopyProgram(const std::wstring& name) const;

 private:
  std::wstring path_;
};

std::string ReadFileBytes(const std::wstring& path);  // "" when absent
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);

// Polls `done` until it holds or the deadline passes.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 10s);

struct RunResult {
  bool finished = false;  // false: killed at the deadline
  DWORD exit_code = 0;
  std::string output;     // standard output
};

// Runs `program` with `arguments` (already quoted) in `directory`, reading its
// standard output. `while_running` is called once the process has started,
// with its id, while its output is being read. A process still running at
// the deadline is ended through its handle.
RunResult RunProgram(const std::wstring& program, const std::wstring& arguments,
              const std::wstring& directory,
              const std::function<void(DWORD process_id)>& while_running = {},
              std::chrono::milliseconds timeout = 30s);

// Quotes one argument the way the C runtime splits it again.
std::wstring Quote(const std::wstring& argument);

// The first visible message box of the process, or nullptr at the deadline.
HWND WaitForMessageBox(DWORD process_id, std::chrono::milliseconds timeout = 15s);
std::wstring MessageBoxText(HWND box);
void PressOk(HWND box);
// Every visible message box of the process right now.
std::vector<HWND> MessageBoxes(DWORD process_id);
// Every top-level window of the process with this class, shown or hidden.
std::vector<HWND> TopLevelWindows(DWORD process_id, const wchar_t* class_name);

// What the stand-in emulator recorded for each start.
struct KxRecord {
  std::string command_line;
  std::vector<std::string> argv;
  std::string directory;
};
std::vector<KxRecord> ReadKxRecords(const std::wstring& path);

std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& utf16);

}  // namespace quorvel::test
