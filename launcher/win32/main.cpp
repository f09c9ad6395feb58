// The program starts with its main window and ends when that window closes.
#include <windows.h>

#include <cstdlib>

#include "launcher/win32/main_window.h"
#include "platform/win32/text.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, wchar_t*, int show) {
  // One folder or image to open; any further arguments are left alone.
  const wchar_t* const argument = __argc > 1 ? __wargv[1] : L"";
  quorvel::launcher::MainWindow main_window;
  if (!main_window.Create(instance, show, quorvel::win::AsUtf16(argument)))
    return 1;  // the user has been told why

  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Every window of the program gets the dialog keys: Tab, Shift+Tab,
    // Enter, Space.
    HWND root = ::GetAncestor(message.hwnd, GA_ROOT);
    if (root && ::IsDialogMessageW(root, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
