#include "layout/win32/option_keys.h"

namespace quorvel::layout {
namespace {

// The button's own procedure and its walk, kept on the button itself.
constexpr wchar_t kPreviousProcedure[] = L"Quorvel.OptionKeys.Previous";
constexpr wchar_t kWalk[] = L"Quorvel.OptionKeys.Walk";

LRESULT CALLBACK OptionButtonKeys(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto previous = reinterpret_cast<WNDPROC>(::GetPropW(hwnd, kPreviousProcedure));
  const auto* walk = static_cast<const GroupWalk*>(::GetPropW(hwnd, kWalk));
  switch (message) {
    case WM_GETDLGCODE:
      return ::CallWindowProcW(previous, hwnd, message, wparam, lparam) | DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      int step = 0;
      if (wparam == VK_UP || wparam == VK_LEFT) step = -1;
      if (wparam == VK_DOWN || wparam == VK_RIGHT) step = 1;
      if (step == 0 || !walk || !*walk) break;
      const std::optional<int> next = (*walk)(::GetDlgCtrlID(hwnd), step);
      if (!next) break;
      HWND parent = ::GetParent(hwnd);
      HWND target = ::GetDlgItem(parent, *next);
      ::SetFocus(target);
      ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(*next, BN_CLICKED),
                     reinterpret_cast<LPARAM>(target));
      return 0;
    }
    case WM_NCDESTROY:
      // The button's last message: give it back its own procedure first.
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      ::RemovePropW(hwnd, kPreviousProcedure);
      ::RemovePropW(hwnd, kWalk);
      break;
  }
  return ::CallWindowProcW(previous, hwnd, message, wparam, lparam);
}

}  // namespace

void WalkGroupWithArrowKeys(HWND button, const GroupWalk* walk) {
  if (::GetPropW(button, kPreviousProcedure)) return;  // already walking
  ::SetPropW(button, kWalk, const_cast<GroupWalk*>(walk));
  ::SetPropW(button, kPreviousProcedure,
             reinterpret_cast<HANDLE>(::GetWindowLongPtrW(button, GWLP_WNDPROC)));
  ::SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OptionButtonKeys));
}

}  // namespace quorvel::layout
