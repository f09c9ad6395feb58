#include "layout/win32/owner_draw.h"

#include "layout/win32/colour.h"
#include "platform/win32/handles.h"
#include "platform/win32/library.h"

namespace quorvel::layout {

void DrawButton(const DRAWITEMSTRUCT& item, COLORREF face, HFONT font) {
  HDC hdc = item.hDC;
  RECT box = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  ::SetDCBrushColor(hdc, face);
  ::FillRect(hdc, &box, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  ::DrawEdge(hdc, &box, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

  wchar_t caption[128] = {};
  ::GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
  // Without a font of its own the button keeps the one the control selected.
  const win::ScopedSelect selected(hdc, font);
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

void DrawPicture(const DRAWITEMSTRUCT& item, HBITMAP bitmap,
                 std::optional<std::uint32_t> transparent, const BackgroundPainter& background) {
  HDC hdc = item.hDC;
  const RECT box = item.rcItem;
  const SIZE size{box.right - box.left, box.bottom - box.top};
  if (background) {
    POINT origin{0, 0};
    ::MapWindowPoints(item.hwndItem, ::GetParent(item.hwndItem), &origin, 1);
    background(hdc, origin, size);
  }
  if (!bitmap) return;
  BITMAP header{};
  ::GetObjectW(bitmap, sizeof header, &header);
  const win::UniqueMemoryDc source(::CreateCompatibleDC(hdc));
  const win::ScopedSelect selected(source.get(), bitmap);
  // Whole-pixel scaling without smoothing keeps pixel art sharp at any DPI.
  ::SetStretchBltMode(hdc, COLORONCOLOR);
  using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
  static const auto transparent_blt =
      win::SystemFunction<TransparentBltFn>(L"msimg32.dll", "TransparentBlt");
  if (transparent && transparent_blt) {
    transparent_blt(hdc, 0, 0, size.cx, size.cy, source.get(), 0, 0, header.bmWidth,
                    header.bmHeight, FromRgb(*transparent));
  } else {
    ::StretchBlt(hdc, 0, 0, size.cx, size.cy, source.get(), 0, 0, header.bmWidth, header.bmHeight,
                 SRCCOPY);
  }
}

}  // namespace quorvel::layout
