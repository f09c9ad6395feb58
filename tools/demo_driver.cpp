// Drives the demo's one launch when nobody sits at the screen: picks the first
// image, ticks a few options, picks a joystick type and a resolution in their
// dialogs and presses "Load and Run"; shows one of the four windows on top of
// the others and prints where it lies on the screen (as ImageMagick's crop
// geometry, WIDTHxHEIGHT+LEFT+TOP), hiding the dialogs shown before; or
// closes the window.
//
//   demo_driver launch
//   demo_driver window main|about|joystick|resolution
//   demo_driver close
#include <windows.h>

#include <cstdio>
#include <string>

#include "dialogs/dialog_layouts.h"
#include "dialogs/win32/about_dialog.h"
#include "dialogs/win32/option_dialog.h"
#include "launcher/main_layout.h"
#include "launcher/win32/main_window.h"
#include "platform/win32/text.h"

namespace {

HWND WaitForMainWindow() {
  for (int attempt = 0; attempt < 300; ++attempt) {
    HWND hwnd = ::FindWindowW(quorvel::launcher::kMainWindowClass, nullptr);
    if (hwnd && ::IsWindowVisible(hwnd)) return hwnd;
    ::Sleep(100);
  }
  return nullptr;
}

void Click(HWND window, int id) { ::SendMessageW(::GetDlgItem(window, id), BM_CLICK, 0, 0); }

// A visible top-level window of the class (with the caption, if given), once there.
HWND Shown(const wchar_t* class_name, const wchar_t* caption = nullptr) {
  for (int attempt = 0; attempt < 100; ++attempt, ::Sleep(50))
    for (HWND hwnd = nullptr; (hwnd = ::FindWindowExW(nullptr, hwnd, class_name, caption));)
      if (::IsWindowVisible(hwnd)) return hwnd;
  return nullptr;
}

// Shows the window (its button opens a dialog), on top and painted, and prints its place.
int ShowWindowOnTop(HWND main, const std::wstring& which) {
  using namespace quorvel;
  for (const wchar_t* dialog_class : {dialogs::kAboutDialogClass, dialogs::kOptionDialogClass})
    for (HWND hwnd = nullptr; (hwnd = ::FindWindowExW(nullptr, hwnd, dialog_class, nullptr));)
      ::ShowWindow(hwnd, SW_HIDE);
  const std::wstring joystick = win::OwnText(dialogs::kJoystickTypeForm.caption);
  const std::wstring resolution = win::OwnText(dialogs::kResolutionForm.caption);
  HWND window = main;
  if (which == L"about") {
    Click(main, launcher::kIdCommand2);
    window = Shown(dialogs::kAboutDialogClass);
  } else if (which == L"joystick") {
    Click(main, launcher::kIdCommand3);
    window = Shown(dialogs::kOptionDialogClass, joystick.c_str());
  } else if (which == L"resolution") {
    Click(main, launcher::kIdCommand4);
    window = Shown(dialogs::kOptionDialogClass, resolution.c_str());
  } else if (which != L"main") {
    return 2;
  }
  if (!window) return 1;
  ::SetForegroundWindow(window);
  ::BringWindowToTop(window);
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  ::Sleep(300);  // the X server shows what Wine drew
  RECT box{};
  ::GetWindowRect(window, &box);
  std::printf("%ldx%ld+%ld+%ld\n", box.right - box.left, box.bottom - box.top, box.left, box.top);
  return 0;
}

// Opens a dialog with its button in the main window, picks a row and presses OK.
void Choose(HWND main, int button, const quorvel::dialogs::OptionDialogForm& form,
            std::string_view option) {
  Click(main, button);
  HWND dialog = nullptr;
  for (int attempt = 0; attempt < 100 && !dialog; ++attempt) {
    dialog = ::FindWindowW(quorvel::dialogs::kOptionDialogClass, nullptr);
    if (!dialog || !::IsWindowVisible(dialog)) {
      dialog = nullptr;
      ::Sleep(50);
    }
  }
  if (!dialog) return;
  Click(dialog, quorvel::layout::Find(form.controls, option)->id);
  Click(dialog, quorvel::dialogs::kIdOk);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace quorvel::launcher;
  const std::wstring action = argc > 1 ? argv[1] : L"";
  HWND main = WaitForMainWindow();
  if (!main) {
    std::fputs("demo_driver: the main window did not appear\n", stderr);
    return 1;
  }
  if (action == L"close") {
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    return 0;
  }
  if (action == L"window") return ShowWindowOnTop(main, argc > 2 ? argv[2] : L"");
  if (action != L"launch") return 2;
  ::SendMessageW(::GetDlgItem(main, kIdFile1), LB_SETCURSEL, 0, 0);
  Click(main, kIdCheck1);                                                     // Scanlines
  Click(main, kIdCheck4);                                                     // Scaled Display
  Click(main, kIdOption2);                                                    // Joystick
  Click(main, kIdOption4);                                                    // 22.050Hz
  Click(main, kIdCheck5);                                                     // sound Enabled
  Choose(main, kIdCommand3, quorvel::dialogs::kJoystickTypeForm, "Option8");  // SideWinder
  Choose(main, kIdCommand4, quorvel::dialogs::kResolutionForm, "Option3");    // 640 x 480
  ::PostMessageW(::GetDlgItem(main, kIdCommand1), BM_CLICK, 0, 0);
  return 0;
}
