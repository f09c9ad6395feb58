#include "layout/win32/option_keys.h"

#include <memory>

namespace quorvel::layout {
namespace {

// What a walking button keeps, found through its GWLP_USERDATA: a window
// property would be read through the window system for every message.
struct Walking {
  WNDPROC previous;
  const GroupWalk* walk;
};

LRESULT CALLBACK OptionButtonKeys(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  const auto* walking = reinterpret_cast<const Walking*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const WNDPROC previous = walking->previous;
  switch (message) {
    case WM_GETDLGCODE:
      return ::CallWindowProcW(previous, hwnd, message, wparam, lparam) | DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      int step = 0;
      if (wparam == VK_UP || wparam == VK_LEFT) step = -1;
      if (wparam == VK_DOWN || wparam == VK_RIGHT) step = 1;
      const GroupWalk* walk = walking->walk;
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
    case WM_NCDESTROY: {
      // The button's last message: it gets its own procedure back first.
      const std::unique_ptr<const Walking> owned(walking);
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      break;
    }
  }
  return ::CallWindowProcW(previous, hwnd, message, wparam, lparam);
}

}  // namespace

void WalkGroupWithArrowKeys(HWND button, const GroupWalk* walk) {
  if (::GetWindowLongPtrW(button, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(OptionButtonKeys))
    return;  // already walking
  const auto* walking =
      new Walking{reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(button, GWLP_WNDPROC)), walk};
  ::SetWindowLongPtrW(button, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(walking));
  ::SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OptionButtonKeys));
}

}  // namespace quorvel::layout
