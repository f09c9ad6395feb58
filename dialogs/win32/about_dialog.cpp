#include "dialogs/win32/about_dialog.h"

#include "caption/win32/caption_hook.h"
#include "dialogs/dialog_layouts.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"
#include "platform/win32/window.h"
#include "resources/resource_ids.h"

namespace quorvel::dialogs {
namespace {

// A fixed single frame with the window menu and Close only.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

}  // namespace

void AboutDialog::Show() {
  if (hwnd() || Load()) win::ShowInFront(hwnd());
}

bool AboutDialog::Load() {
  if (!owner_)
    owner_.reset(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   instance_, nullptr));
  const win::WindowClass window_class{kAboutDialogClass,
                                      static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)),
                                      IDI_QUORVEL, IDC_POINTER};
  if (!CreateOf(window_class, instance_, win::OwnText(kAboutCaption).c_str(), kStyle, 0, {},
                owner_.get()))
    return false;
  // The load step: the caption painter first.
  caption::HookCaption(hwnd());
  const int dpi = win::WindowDpi(hwnd());
  const RECT frame =
      win::WindowRectForClient(layout::TwipsToPixels(kAboutClientWidthTwips, dpi),
                               layout::TwipsToPixels(kAboutClientHeightTwips, dpi), kStyle, 0, dpi);
  ::SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  layout::ControlOptions options;
  options.pictures = {{"Image1", IDB_WARRIOR}};
  controls_ = std::make_unique<layout::WindowControls>(hwnd(), kAboutControls, std::move(options));
  controls_->SetFocusControl(controls_->Item(kIdOk));
  return true;
}

LRESULT AboutDialog::OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wparam));
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
  }
  return Default(message, wparam, lparam);
}

// OK, Enter and Escape hide the dialog; it stays loaded and hooked.
void AboutDialog::OnCommand(int id) {
  if (id == kIdOk || id == IDCANCEL) ::ShowWindow(hwnd(), SW_HIDE);
}

// The unload step, for a close through the caption bar, the window menu or
// Alt+F4: the window gets its own procedure back before it goes.
void AboutDialog::OnClose() {
  caption::UnhookCaption(hwnd());
  ::DestroyWindow(hwnd());
}

}  // namespace quorvel::dialogs
