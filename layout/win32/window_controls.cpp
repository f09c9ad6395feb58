#include "layout/win32/window_controls.h"

#include <vector>

#include "layout/win32/colour.h"
#include "platform/win32/dpi.h"
#include "platform/win32/text.h"

namespace quorvel::layout {
namespace {

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD ex_style;
};

ControlClass ClassOf(Kind kind) {
  switch (kind) {
    case Kind::kLabel:
      return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
    case Kind::kFileList:
      return {L"LISTBOX",
              LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
              WS_EX_CLIENTEDGE};
    case Kind::kCheckBox:
      return {L"BUTTON", BS_AUTOCHECKBOX | BS_FLAT | BS_MULTILINE | WS_TABSTOP, 0};
    case Kind::kOptionButton:
      // Plain radio buttons: the window keeps each group exclusive itself,
      // since a group's buttons need not follow each other in tab order.
      return {L"BUTTON", BS_RADIOBUTTON | BS_FLAT | BS_MULTILINE | WS_TABSTOP, 0};
    case Kind::kButton:
      return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
    case Kind::kPicture:
      return {L"STATIC", SS_OWNERDRAW, 0};
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

WindowControls::WindowControls(HWND parent, std::span<const Control> controls,
                               ControlOptions options)
    : parent_(parent),
      controls_(controls),
      options_(std::move(options)),
      dpi_(win::WindowDpi(parent)) {
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  items_.reserve(controls_.size());
  for (const Control& spec : controls_) {
    const ControlClass kind = ClassOf(spec.kind);
    const std::wstring caption =
        spec.kind == Kind::kPicture ? std::wstring() : win::OwnText(spec.caption);
    // Made where it belongs: the window is not shown yet, so nothing needs
    // moving or drawing again.
    const Rect box = ToPixels(spec.twips, dpi_);
    HWND control = ::CreateWindowExW(kind.ex_style, kind.name, caption.c_str(),
                                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, box.left,
                                     box.top, box.width, box.height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                     instance, nullptr);
    items_.push_back(control);
    if (spec.kind == Kind::kOptionButton) WalkGroupWithArrowKeys(control, &options_.next_in_group);
    if (spec.kind == Kind::kPicture) {
      if (const auto picture = options_.pictures.find(spec.name);
          picture != options_.pictures.end())
        pictures_[spec.id].reset(static_cast<HBITMAP>(::LoadImageW(
            instance, MAKEINTRESOURCEW(picture->second), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
    Dress(control, spec, /*redraw=*/false);
  }
}

HWND WindowControls::Item(int id) const {
  const Control* spec = ControlOf(id);
  return spec ? items_[static_cast<std::size_t>(spec - controls_.data())] : nullptr;
}

const Control* WindowControls::ControlOf(int id) const {
  for (const Control& spec : controls_)
    if (spec.id == id) return &spec;
  return nullptr;
}

std::optional<LRESULT> WindowControls::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return OnControlColour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM:
      if (OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return TRUE;
      return std::nullopt;
    case WM_SETCURSOR:
      if (options_.pointer_over) options_.pointer_over(reinterpret_cast<HWND>(wparam));
      // Children ask their parent first, so the window's own pointer shows
      // over its controls too.
      if (LOWORD(lparam) != HTCLIENT) return std::nullopt;
      ::SetCursor(reinterpret_cast<HCURSOR>(::GetClassLongPtrW(parent_, GCLP_HCURSOR)));
      return TRUE;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wparam) != WA_INACTIVE);
      return 0;
    case WM_DPICHANGED:
      Relayout(HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
  }
  return std::nullopt;
}

void WindowControls::Relayout(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  for (const Control& spec : controls_) {
    const Rect box = ToPixels(spec.twips, dpi_);
    HWND control = Item(spec.id);
    ::SetWindowPos(control, nullptr, box.left, box.top, box.width, box.height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    Dress(control, spec, /*redraw=*/true);
  }
  ::SetWindowPos(parent_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(parent_, nullptr, TRUE);
}

void WindowControls::Dress(HWND control, const Control& spec, bool redraw) {
  const Rect box = ToPixels(spec.twips, dpi_);
  if (HFONT font = fonts_.Get(spec.font, dpi_))
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);

  // Where a control in front overlaps this one, it takes the clicks there:
  // cut the overlap out of this control's window region.
  const auto index = static_cast<std::size_t>(&spec - controls_.data());
  const std::vector<Rect> covered = CoveredParts(controls_, index, dpi_);
  if (covered.empty()) {
    if (redraw) ::SetWindowRgn(control, nullptr, TRUE);  // a new control has no region to drop
    return;
  }
  win::UniqueRegion visible(::CreateRectRgn(0, 0, box.width, box.height));
  for (const Rect& part : covered) {
    const win::UniqueRegion hidden(
        ::CreateRectRgn(part.left, part.top, part.right(), part.bottom()));
    ::CombineRgn(visible.get(), visible.get(), hidden.get(), RGN_DIFF);
  }
  // Once set, the region belongs to the system.
  if (::SetWindowRgn(control, visible.get(), redraw)) visible.release();
}

HBRUSH WindowControls::BrushFor(COLORREF colour) {
  auto& brush = brushes_[colour];
  if (!brush) brush.reset(::CreateSolidBrush(colour));
  return brush.get();
}

std::optional<LRESULT> WindowControls::OnControlColour(HDC hdc, HWND control) {
  const Control* spec = ControlOf(::GetDlgCtrlID(control));
  if (!spec || spec->kind == Kind::kButton || spec->kind == Kind::kPicture) return std::nullopt;
  const COLORREF back = ToColorRef(spec->back, ::GetSysColor(COLOR_WINDOW));
  ::SetTextColor(hdc, ToColorRef(spec->text, ::GetSysColor(COLOR_WINDOWTEXT)));
  ::SetBkColor(hdc, back);
  ::SetBkMode(hdc, OPAQUE);
  return reinterpret_cast<LRESULT>(BrushFor(back));
}

bool WindowControls::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const Control* spec = ControlOf(static_cast<int>(item.CtlID));
  if (!spec) return false;
  if (spec->kind == Kind::kButton) {
    DrawButton(item, ToColorRef(spec->back, ::GetSysColor(COLOR_BTNFACE)),
               fonts_.Get(spec->font, dpi_));
    return true;
  }
  if (spec->kind == Kind::kPicture) {
    const auto picture = pictures_.find(spec->id);
    DrawPicture(item, picture == pictures_.end() ? nullptr : picture->second.get(),
                options_.transparent_colour, options_.paint_background);
    return true;
  }
  return false;
}

void WindowControls::OnActivate(bool active) {
  if (!active) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(parent_, focus)) focus_ = focus;
  } else if (focus_) {
    ::SetFocus(focus_);
  }
}

void WindowControls::DropEmptyFramePaints() const {
  const win::UniqueRegion nothing(::CreateRectRgn(0, 0, 0, 0));
  for (HWND control : items_) {
    RECT window, client;
    if (!::GetWindowRect(control, &window) || !::GetClientRect(control, &client) ||
        window.right - window.left != client.right || window.bottom - window.top != client.bottom)
      continue;
    // Nothing of the client area validated, only the frame (RDW_NOFRAME).
    ::RedrawWindow(control, nullptr, nothing.get(), RDW_VALIDATE | RDW_NOFRAME | RDW_NOCHILDREN);
  }
}

bool WindowControls::IsChecked(int id) const {
  return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void WindowControls::SetChecked(int id, bool checked) const {
  HWND button = Item(id);
  // Each change is a round to the window system.
  if ((::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED) == checked) return;
  const LONG_PTR tab_stop = ::GetWindowLongPtrW(button, GWL_STYLE) & WS_TABSTOP;
  ::SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  // BM_SETCHECK takes WS_TABSTOP off a radio button that it clears, which
  // would drop every unselected option button out of the tab order.
  const LONG_PTR style = ::GetWindowLongPtrW(button, GWL_STYLE);
  if ((style & WS_TABSTOP) != tab_stop) ::SetWindowLongPtrW(button, GWL_STYLE, style | tab_stop);
}

}  // namespace quorvel::layout
