#include "layout/win32/option_keys.h"

#include <commctrl.h>

namespace quorvel::layout {
namespace {

LRESULT CALLBACK OptionButtonKeys(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                  UINT_PTR subclass_id, DWORD_PTR data) {
  const auto& walk = *reinterpret_cast<const GroupWalk*>(data);
  switch (message) {
    case WM_GETDLGCODE:
      return ::DefSubclassProc(hwnd, message, wparam, lparam) | DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      int step = 0;
      if (wparam == VK_UP || wparam == VK_LEFT) step = -1;
      if (wparam == VK_DOWN || wparam == VK_RIGHT) step = 1;
      if (step == 0 || !walk) break;
      const std::optional<int> next = walk(::GetDlgCtrlID(hwnd), step);
      if (!next) break;
      HWND parent = ::GetParent(hwnd);
      HWND target = ::GetDlgItem(parent, *next);
      ::SetFocus(target);
      ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(*next, BN_CLICKED),
                     reinterpret_cast<LPARAM>(target));
      return 0;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, OptionButtonKeys, subclass_id);
      break;
  }
  return ::DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace

void WalkGroupWithArrowKeys(HWND button, const GroupWalk* walk) {
  ::SetWindowSubclass(button, OptionButtonKeys, 1, reinterpret_cast<DWORD_PTR>(walk));
}

}  // namespace quorvel::layout
