// The skeleton every top-level window of the program shares: its class
// registered once, and the object behind the window found again for every
// message from WM_NCCREATE to WM_NCDESTROY. The object owns its window.
#pragma once

#include <windows.h>

namespace quorvel::win {

// What tells one window class from another.
struct WindowClass {
  const wchar_t* name;
  HBRUSH background;   // a system colour (COLOR_* + 1) or a stock brush
  int icon_id = 0;     // resource id of the window's icon; 0 for none
  int pointer_id = 0;  // resource id of its mouse pointer; 0 for the arrow
};

struct WindowPlace {
  int x = CW_USEDEFAULT;
  int y = CW_USEDEFAULT;
  int width = 0;
  int height = 0;
};

class Window {
 public:
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // A window still there goes away without its handlers running.
  virtual ~Window() { Destroy(); }

  HWND hwnd() const { return hwnd_; }

 protected:
  Window() = default;

  // Registers the class the first time and creates the window, whose
  // messages then reach OnMessage. False when it cannot be created; the
  // thread's last error is then the failing call's (0 when it gave none).
  bool CreateOf(const WindowClass& window_class, HINSTANCE instance, const wchar_t* title,
                DWORD style, DWORD ex_style, const WindowPlace& place = {}, HWND owner = nullptr);

  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
  // The window is gone; hwnd() is nullptr from here on.
  virtual void OnDestroyed() {}

  // Destroys the window, if any, without its handlers running.
  void Destroy();

  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) {
    return ::DefWindowProcW(hwnd_, message, wparam, lparam);
  }
  HINSTANCE instance() const {
    return reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
  LRESULT big_icon_ = 0, small_icon_ = 0;  // the class's, answered to WM_GETICON
};

// Shows a top-level window, activated and on top of the others.
void ShowInFront(HWND hwnd);

// A wait on the user interface thread, for up to `milliseconds`, for the
// handle to be signalled (WaitForSingleObject's answers) or, with none, a
// pause (WAIT_TIMEOUT). Meanwhile the thread's windows are painted and answer
// what other programs and the system send them, with the wait cursor over
// them. The input that comes meanwhile (keys, the mouse, a posted button
// click) is dropped, so that nothing the user did while waiting (a second
// click on the button that started the wait, an Enter that would close the
// message which tells the wait's outcome) is carried out after it.
DWORD BusyWait(HANDLE handle, int milliseconds);

// Whether the thread is inside a BusyWait: a handler that would start
// another wait, or end the window that waits, must not run now.
bool InBusyWait();

// The program's shared pointer or icon resource at a size (0: the default).
HCURSOR LoadPointer(HINSTANCE instance, int id);
HICON LoadIconOfSize(HINSTANCE instance, int id, int size);

}  // namespace quorvel::win
