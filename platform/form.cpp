#include "platform/form.h"

#include <commctrl.h>

#include "platform/dpi.h"
#include "platform/text.h"
#include "resources/resource_ids.h"

namespace quorvel::form {
namespace {

using layout::Kind;

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
      // Owner-drawn, because a standard push button ignores its colour.
      return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
    case Kind::kPicture:
      return {L"STATIC", SS_OWNERDRAW, 0};
  }
  return {L"STATIC", 0, 0};
}

// Arrow keys walk an option group; the dialog manager would walk the tab order.
LRESULT CALLBACK OptionButtonKeys(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                                  UINT_PTR subclass_id, DWORD_PTR data) {
  const auto* next_in_group =
      reinterpret_cast<const std::function<std::optional<int>(int, int)>*>(data);
  switch (message) {
    case WM_GETDLGCODE:
      return ::DefSubclassProc(hwnd, message, wparam, lparam) | DLGC_WANTARROWS;
    case WM_KEYDOWN: {
      int step = 0;
      if (wparam == VK_UP || wparam == VK_LEFT) step = -1;
      if (wparam == VK_DOWN || wparam == VK_RIGHT) step = 1;
      if (step == 0 || !*next_in_group) break;
      const std::optional<int> next = (*next_in_group)(::GetDlgCtrlID(hwnd), step);
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

int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const std::wstring& face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(query.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  const win::WindowDc screen(nullptr, ::GetDC(nullptr));
  ::EnumFontFamiliesExW(screen.get(), &query, NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

}  // namespace

COLORREF ToColorRef(const layout::Colour& colour, COLORREF fallback) {
  switch (colour.source) {
    case layout::Colour::Source::kRgb:
      return FromRgb(colour.value);
    case layout::Colour::Source::kSystem:
      return ::GetSysColor(static_cast<int>(colour.value));
    case layout::Colour::Source::kDefault:
      break;
  }
  return fallback;
}

HCURSOR LoadPointer(HINSTANCE instance) {
  return static_cast<HCURSOR>(::LoadImageW(instance, MAKEINTRESOURCEW(IDC_POINTER), IMAGE_CURSOR, 0,
                                           0, LR_DEFAULTSIZE | LR_SHARED));
}

std::wstring AvailableFace(std::string_view face) {
  static std::map<std::string, std::wstring, std::less<>> chosen;
  if (const auto known = chosen.find(face); known != chosen.end()) return known->second;
  std::wstring result = win::Widen(face);
  for (const std::string_view candidate : layout::FaceCandidates(face)) {
    if (FaceInstalled(win::Widen(candidate))) {
      result = win::Widen(candidate);
      break;
    }
  }
  chosen.emplace(std::string(face), result);
  return result;
}

Form::Form(HWND parent, std::span<const layout::Control> controls, FormOptions options)
    : parent_(parent), controls_(controls), options_(std::move(options)), dpi_(win::WindowDpi(parent)) {
  const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  // Controls are made in tab order, which is the order the dialog manager's
  // Tab key follows.
  for (const layout::Control& spec : controls_) {
    const ControlClass kind = ClassOf(spec.kind);
    const std::wstring caption =
        spec.kind == Kind::kPicture ? std::wstring() : win::Widen(spec.caption);
    HWND control = ::CreateWindowExW(kind.ex_style, kind.name, caption.c_str(),
                                     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, 0, 0, 0, 0, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(spec.id)),
                                     instance, nullptr);
    if (spec.kind == Kind::kOptionButton)
      ::SetWindowSubclass(control, OptionButtonKeys, 1,
                          reinterpret_cast<DWORD_PTR>(&options_.next_in_group));
    if (spec.kind == Kind::kPicture) {
      if (const auto picture = options_.pictures.find(spec.name); picture != options_.pictures.end())
        pictures_[spec.id].reset(static_cast<HBITMAP>(::LoadImageW(
            instance, MAKEINTRESOURCEW(picture->second), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
    Place(control, spec);
  }
}

Form::~Form() = default;

const layout::Control* Form::ControlOf(int id) const {
  for (const layout::Control& spec : controls_)
    if (spec.id == id) return &spec;
  return nullptr;
}

std::optional<LRESULT> Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return OnControlColour(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_DRAWITEM:
      if (OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam))) return TRUE;
      return std::nullopt;
    case WM_SETCURSOR:
      // Children ask their parent first, so this covers the controls too.
      if (LOWORD(lparam) != HTCLIENT || !options_.pointer) return std::nullopt;
      ::SetCursor(options_.pointer);
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

void Form::Relayout(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  for (const layout::Control& spec : controls_) Place(Item(spec.id), spec);
  ::SetWindowPos(parent_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(parent_, nullptr, TRUE);
}

void Form::Place(HWND control, const layout::Control& spec) {
  const layout::Rect box = layout::ToPixels(spec.twips, dpi_);
  ::SetWindowPos(control, nullptr, box.left, box.top, box.width, box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  if (HFONT font = FontFor(spec.font)) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);

  // Where a later control overlaps this one, the later one lies in front and
  // takes the clicks: cut the overlap out of this control's window region.
  const auto index = static_cast<std::size_t>(&spec - controls_.data());
  const std::vector<layout::Rect> covered = layout::CoveredParts(controls_, index, dpi_);
  if (covered.empty()) {
    ::SetWindowRgn(control, nullptr, TRUE);
    return;
  }
  win::UniqueRegion visible(::CreateRectRgn(0, 0, box.width, box.height));
  for (const layout::Rect& part : covered) {
    win::UniqueRegion hidden(::CreateRectRgn(part.left, part.top, part.right(), part.bottom()));
    ::CombineRgn(visible.get(), visible.get(), hidden.get(), RGN_DIFF);
  }
  // Once set, the region belongs to the system.
  if (::SetWindowRgn(control, visible.get(), TRUE)) visible.release();
}

HFONT Form::FontFor(const layout::Font& font) {
  if (font.face.empty()) return nullptr;
  const std::wstring face = AvailableFace(font.face);
  auto key = std::make_tuple(win::Narrow(face), font.centipoints, font.bold, font.italic,
                             font.oem_charset, dpi_);
  if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second.get();
  LOGFONTW description{};
  description.lfHeight = layout::FontHeight(font, dpi_);
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfItalic = font.italic ? TRUE : FALSE;
  // An OEM face keeps its character set; a stand-in face would lose out to
  // any OEM font the mapper finds.
  const bool own_face = face == win::Widen(font.face);
  description.lfCharSet = font.oem_charset && own_face ? OEM_CHARSET : DEFAULT_CHARSET;
  face.copy(description.lfFaceName, LF_FACESIZE - 1);
  HFONT made = ::CreateFontIndirectW(&description);
  fonts_.emplace(key, win::UniqueFont(made));
  return made;
}

HBRUSH Form::BrushFor(COLORREF colour) {
  auto& brush = brushes_[colour];
  if (!brush) brush.reset(::CreateSolidBrush(colour));
  return brush.get();
}

std::optional<LRESULT> Form::OnControlColour(HDC hdc, HWND control) {
  const layout::Control* spec = ControlOf(::GetDlgCtrlID(control));
  if (!spec || spec->kind == Kind::kButton || spec->kind == Kind::kPicture) return std::nullopt;
  const COLORREF back = ToColorRef(spec->back, ::GetSysColor(COLOR_WINDOW));
  const COLORREF text = ToColorRef(spec->text, ::GetSysColor(COLOR_WINDOWTEXT));
  ::SetTextColor(hdc, text);
  ::SetBkColor(hdc, back);
  ::SetBkMode(hdc, OPAQUE);
  return reinterpret_cast<LRESULT>(BrushFor(back));
}

bool Form::OnDrawItem(const DRAWITEMSTRUCT& item) {
  const layout::Control* spec = ControlOf(static_cast<int>(item.CtlID));
  if (!spec) return false;
  if (spec->kind == Kind::kButton) DrawButton(item, *spec);
  else if (spec->kind == Kind::kPicture) DrawPicture(item, *spec);
  else return false;
  return true;
}

void Form::DrawButton(const DRAWITEMSTRUCT& item, const layout::Control& spec) {
  HDC hdc = item.hDC;
  RECT box = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  ::SetDCBrushColor(hdc, ToColorRef(spec.back, ::GetSysColor(COLOR_BTNFACE)));
  ::FillRect(hdc, &box, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  ::DrawEdge(hdc, &box, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

  wchar_t caption[128] = {};
  ::GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
  win::ScopedSelect font(hdc, FontFor(spec.font));
  ::SetBkMode(hdc, TRANSPARENT);
  ::SetTextColor(hdc, ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  RECT text = box;
  if (pressed) ::OffsetRect(&text, 1, 1);
  ::DrawTextW(hdc, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
    RECT focus = box;
    ::InflateRect(&focus, -4, -4);
    ::DrawFocusRect(hdc, &focus);
  }
}

void Form::DrawPicture(const DRAWITEMSTRUCT& item, const layout::Control& spec) {
  HDC hdc = item.hDC;
  const RECT box = item.rcItem;
  const SIZE size{box.right - box.left, box.bottom - box.top};
  if (options_.paint_background) {
    POINT origin{0, 0};
    ::MapWindowPoints(item.hwndItem, parent_, &origin, 1);
    options_.paint_background(hdc, origin, size);
  }
  const auto picture = pictures_.find(spec.id);
  if (picture == pictures_.end() || !picture->second) return;
  BITMAP bitmap{};
  ::GetObjectW(picture->second.get(), sizeof bitmap, &bitmap);
  win::UniqueMemoryDc source(::CreateCompatibleDC(hdc));
  win::ScopedSelect selected(source.get(), picture->second.get());
  // Whole-pixel scaling without smoothing keeps pixel art sharp at any DPI.
  ::SetStretchBltMode(hdc, COLORONCOLOR);
  if (options_.transparent_colour) {
    ::TransparentBlt(hdc, 0, 0, size.cx, size.cy, source.get(), 0, 0, bitmap.bmWidth,
                     bitmap.bmHeight, FromRgb(*options_.transparent_colour));
  } else {
    ::StretchBlt(hdc, 0, 0, size.cx, size.cy, source.get(), 0, 0, bitmap.bmWidth, bitmap.bmHeight,
                 SRCCOPY);
  }
}

void Form::OnActivate(bool active) {
  if (!active) {
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(parent_, focus)) focus_ = focus;
  } else if (focus_) {
    ::SetFocus(focus_);
  }
}

bool Form::IsChecked(int id) const {
  return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(int id, bool checked) const {
  HWND button = Item(id);
  const LONG_PTR tab_stop = ::GetWindowLongPtrW(button, GWL_STYLE) & WS_TABSTOP;
  ::SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  // BM_SETCHECK takes WS_TABSTOP off a radio button that it clears, which
  // would drop every unselected option button out of the tab order.
  ::SetWindowLongPtrW(button, GWL_STYLE, ::GetWindowLongPtrW(button, GWL_STYLE) | tab_stop);
}

}  // namespace quorvel::form
