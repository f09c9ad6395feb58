#include "platform/win32/window.h"

#include <utility>

namespace quorvel::win {

void Window::Destroy() {
  if (!hwnd_) return;
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  ::DestroyWindow(std::exchange(hwnd_, nullptr));
}

bool Window::CreateOf(const WindowClass& window_class, HINSTANCE instance, const wchar_t* title,
                      DWORD style, DWORD ex_style, const WindowPlace& place, HWND owner) {
  WNDCLASSEXW description{};
  description.cbSize = sizeof description;
  if (!::GetClassInfoExW(instance, window_class.name, &description)) {
    description.lpfnWndProc = Procedure;
    description.hInstance = instance;
    if (window_class.icon_id != 0) {
      description.hIcon =
          LoadIconOfSize(instance, window_class.icon_id, ::GetSystemMetrics(SM_CXICON));
      description.hIconSm =
          LoadIconOfSize(instance, window_class.icon_id, ::GetSystemMetrics(SM_CXSMICON));
    }
    description.hCursor = window_class.pointer_id != 0
                              ? LoadPointer(instance, window_class.pointer_id)
                              : ::LoadCursorW(nullptr, IDC_ARROW);
    description.hbrBackground = window_class.background;
    description.lpszClassName = window_class.name;
    if (!::RegisterClassExW(&description)) return false;
  }
  // A hook or the window's own handlers can refuse it without setting an
  // error: what the calls before left behind is not this call's reason.
  ::SetLastError(0);
  ::CreateWindowExW(ex_style, window_class.name, title, style, place.x, place.y, place.width,
                    place.height, owner, nullptr, instance, this);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* window = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    window->hwnd_ = hwnd;
    window->big_icon_ = ::GetClassLongPtrW(hwnd, GCLP_HICON);
    window->small_icon_ = ::GetClassLongPtrW(hwnd, GCLP_HICONSM);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  }
  if (!window) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  // The system's own answer holds only icons given with WM_SETICON; the
  // class's icons are the window's, without handing the desktop a copy.
  if (message == WM_GETICON && window->big_icon_)
    return wparam == ICON_BIG ? window->big_icon_ : window->small_icon_;
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    window->hwnd_ = nullptr;
    window->OnDestroyed();
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
  return window->OnMessage(message, wparam, lparam);
}

void ShowInFront(HWND hwnd) {
  ::ShowWindow(hwnd, SW_SHOW);
  ::SetForegroundWindow(hwnd);
  ::BringWindowToTop(hwnd);
}

namespace {

int g_waits = 0;  // BusyWait calls going on (nested through messages sent meanwhile)

// Input waiting in the thread's queue: the keyboard's and the mouse's, and
// button clicks posted as such.
void DropQueuedInput() {
  constexpr UINT kInput[][2] = {{WM_KEYFIRST, WM_KEYLAST},
                                {WM_MOUSEFIRST, WM_MOUSELAST},
                                {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
                                {BM_CLICK, BM_CLICK}};
  MSG message;
  for (const auto& [first, last] : kInput)
    while (::PeekMessageW(&message, nullptr, first, last, PM_REMOVE | PM_NOYIELD)) {
    }
}

}  // namespace

bool InBusyWait() { return g_waits > 0; }

DWORD BusyWait(HANDLE handle, int milliseconds) {
  // A handle signalled already (the writers' turn, almost always) is no wait.
  if (handle)
    if (const DWORD now = ::WaitForSingleObject(handle, 0); now != WAIT_TIMEOUT) return now;
  ++g_waits;
  ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));  // until the pointer next moves over a window
  const DWORD count = handle ? 1 : 0;
  DWORD result = WAIT_TIMEOUT;
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
  for (ULONGLONG now = ::GetTickCount64(); now < end; now = ::GetTickCount64()) {
    // Messages sent from other threads are answered inside PeekMessage.
    MSG message;
    for (int paints = 0;
         paints < 100 &&
         ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_SENDMESSAGE);
         ++paints)
      ::DispatchMessageW(&message);
    const DWORD woken = ::MsgWaitForMultipleObjects(
        count, &handle, FALSE, static_cast<DWORD>(end - now), QS_PAINT | QS_SENDMESSAGE);
    if (woken != WAIT_OBJECT_0 + count && woken != WAIT_TIMEOUT) {
      result = woken;  // the handle is signalled (a mutex: ours now, or abandoned), or it failed
      break;
    }
  }
  DropQueuedInput();
  --g_waits;
  return result;
}

HCURSOR LoadPointer(HINSTANCE instance, int id) {
  return static_cast<HCURSOR>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
}

HICON LoadIconOfSize(HINSTANCE instance, int id, int size) {
  return static_cast<HICON>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
}

}  // namespace quorvel::win
