// Helpers for the tests that drive the real quorvel.exe from another process:
// a program folder of its own, the running program and its main window, and
// window messages that cannot hang the test.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/handles.h"
#include "tests/wine/wine_test_util.h"

namespace quorvel::test {

// A folder with its own copies of quorvel.exe and kx.exe (so the settings file
// quorvel.ini beside them is this folder's own), an images folder that the
// program runs in and lists, and the file where the stand-in kx records each
// start.
class QuorvelFolder {
 public:
  // Creates the images folder with empty files of these names.
  explicit QuorvelFolder(const std::vector<std::wstring>& image_files = {});

  std::wstring program() const { return dir_ / L"program\\quorvel.exe"; }
  std::wstring settings_path() const { return dir_ / L"program\\quorvel.ini"; }
  std::wstring images() const { return dir_ / L"images"; }
  std::wstring record_path() const { return dir_ / L"kx-record.txt"; }

  std::string Settings() const { return ReadFileBytes(settings_path()); }
  void WriteSettings(const std::string& bytes) const { WriteFileBytes(settings_path(), bytes); }
  // Waits until kx has recorded at least `count` starts; returns every record.
  std::vector<KxRecord> WaitForRecords(size_t count) const;

 private:
  TempDir dir_;
};

// quorvel.exe started in a folder's images folder, up to its main window.
// Closing it, or ending it at a deadline, is left to the destructor.
class RunningQuorvel {
 public:
  explicit RunningQuorvel(const QuorvelFolder& folder);
  RunningQuorvel(const RunningQuorvel&) = delete;
  RunningQuorvel& operator=(const RunningQuorvel&) = delete;
  ~RunningQuorvel();

  // The visible, idle main window; nullptr when it did not come up (see failure()).
  HWND window() const { return window_; }
  const std::string& failure() const { return failure_; }
  DWORD process_id() const { return process_id_; }
  HWND Item(int id) const { return ::GetDlgItem(window_, id); }

  // Sends WM_CLOSE and waits for the process; its exit code, or nullopt when
  // it was still running at the deadline.
  std::optional<DWORD> Close();
  // Makes the main window the active, topmost-drawn window of the screen.
  bool BringToFront() const;
  // The control that has the keyboard focus in the program's thread.
  HWND Focus() const;

 private:
  win::UniqueHandle process_;
  DWORD process_id_ = 0;
  DWORD thread_id_ = 0;
  HWND window_ = nullptr;
  std::string failure_;
};

// SendMessageTimeout, failing the test when the program does not answer.
LRESULT Send(HWND hwnd, UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
bool IsChecked(HWND button);
// BM_CLICK, handled when this returns. For a button that may show a modal
// message box, post it instead: PostMessageW(button, BM_CLICK, 0, 0).
void Click(HWND button);
// A mouse click on the item of a list box: selects it and gives it the focus.
// Posted, as the mouse would do it; the caller waits for its effect.
void PostListClick(HWND list, int index, bool double_click = false);

std::vector<std::wstring> ListItems(HWND list);
std::wstring ClassName(HWND hwnd);
std::wstring WindowText(HWND hwnd);
// The control's window rectangle in its parent's client coordinates.
RECT RectInParent(HWND control);

// A 24-bit copy of a screen area, bottom-up rows as a BMP file holds them.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> bgr;  // rows padded to 4 bytes
  COLORREF Pixel(int x, int y) const;
  bool SaveBmp(const std::wstring& path) const;
};
Screenshot CaptureScreen(const RECT& area);

}  // namespace quorvel::test
