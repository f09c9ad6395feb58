// The anchors the benchmark measures Quorvel against, built with the same
// compiler and flags: the simplest window the platform can show (the size of
// Quorvel's main window and where it shows, painted once), and in other modes
// the same window as a bare launcher or filled by the system's own directory
// lister.
//
//   bare_window                 a window that paints itself
//   bare_window launch          ...with a "Load and Run" button (id 2) that only
//                               calls CreateProcessW on "kx demo.sms -res "
//   bare_window list            ...with a list box (id 1) filled by LB_DIR
//   bare_window controls        ...with the main window's controls as plain
//                               standard controls: no fonts, colours or drawing
//
// Built twice: bare_window.exe, and bare_window_manifest.exe with Quorvel's
// manifest (per-monitor DPI awareness, no elevation), as Quorvel starts: its
// start-up anchors. Neither loads anything that Quorvel does not load.
#include <windows.h>

#include <string>

#include "launcher/main_layout.h"

namespace {

std::wstring g_mode;

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: {
      const HINSTANCE instance = reinterpret_cast<CREATESTRUCTW*>(lparam)->hInstance;
      if (g_mode == L"launch") {
        ::CreateWindowExW(0, L"BUTTON", L"Load and Run", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 8,
                          8, 120, 28, hwnd, reinterpret_cast<HMENU>(2), instance, nullptr);
      } else if (g_mode == L"controls") {
        using quorvel::layout::Kind;
        for (const quorvel::layout::Control& control : quorvel::launcher::kMainControls) {
          const bool button = control.kind != Kind::kLabel && control.kind != Kind::kPicture &&
                              control.kind != Kind::kFileList;
          const DWORD style = control.kind == Kind::kCheckBox       ? BS_AUTOCHECKBOX
                              : control.kind == Kind::kOptionButton ? BS_RADIOBUTTON
                              : control.kind == Kind::kFileList     ? WS_VSCROLL
                                                                    : 0;
          const quorvel::layout::Rect box = quorvel::layout::ToPixels(control.twips, 96);
          const std::wstring caption(control.caption.begin(), control.caption.end());
          ::CreateWindowExW(control.kind == Kind::kFileList ? WS_EX_CLIENTEDGE : 0,
                            button                            ? L"BUTTON"
                            : control.kind == Kind::kFileList ? L"LISTBOX"
                                                              : L"STATIC",
                            caption.c_str(), WS_CHILD | WS_VISIBLE | style, box.left, box.top,
                            box.width, box.height, hwnd,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)), instance,
                            nullptr);
        }
      } else if (g_mode == L"list") {
        HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_SORT, 8, 8, 200, 400,
                                      hwnd, reinterpret_cast<HMENU>(1), instance, nullptr);
        ::SendMessageW(list, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>(L"*.SMS"));
        ::SendMessageW(list, LB_DIR, DDL_READWRITE, reinterpret_cast<LPARAM>(L"*.GG"));
      }
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == 2) {
        wchar_t command[] = L"kx demo.sms -res ";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process)) {
          ::CloseHandle(process.hThread);
          ::CloseHandle(process.hProcess);
        }
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(hwnd, &paint);
      ::FillRect(dc, &paint.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
      ::EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(hwnd, message, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t* arguments, int show) {
  g_mode = arguments;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = Procedure;
  window_class.hInstance = instance;
  window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  window_class.lpszClassName = L"BareWindow";
  ::RegisterClassExW(&window_class);
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  RECT frame{0, 0, 582, 446};  // Quorvel's client area at 96 DPI
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  // Where Quorvel shows its window, the middle of the work area: under the
  // pointer as often as Quorvel's, so that both answer its arrival alike.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  HWND hwnd = ::CreateWindowExW(0, L"BareWindow", L"Bare", kStyle,
                                work.left + (work.right - work.left - width) / 2,
                                work.top + (work.bottom - work.top - height) / 2, width, height,
                                nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  ::ShowWindow(hwnd, show);
  ::UpdateWindow(hwnd);
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
