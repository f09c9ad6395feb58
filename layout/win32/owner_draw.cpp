#include "layout/win32/owner_draw.h"

#include "layout/win32/colour.h"
#include "platform/win32/handles.h"

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
  const RECT box = item.rcItem;
  const SIZE size{box.right - box.left, box.bottom - box.top};
  if (!bitmap && !background) return;
  // Composed off-screen and copied once: the steps between never show.
  const win::UniqueMemoryDc canvas(::CreateCompatibleDC(item.hDC));
  const win::UniqueBitmap canvas_bitmap(::CreateCompatibleBitmap(item.hDC, size.cx, size.cy));
  if (!canvas || !canvas_bitmap) return;
  const win::ScopedSelect canvas_selected(canvas.get(), canvas_bitmap.get());
  HDC hdc = canvas.get();
  if (background) {
    POINT origin{0, 0};
    ::MapWindowPoints(item.hwndItem, ::GetParent(item.hwndItem), &origin, 1);
    background(hdc, origin, size);
  }
  if (bitmap) {
    BITMAP header{};
    ::GetObjectW(bitmap, sizeof header, &header);
    const int width = header.bmWidth, height = header.bmHeight;
    const win::UniqueMemoryDc source(::CreateCompatibleDC(hdc));
    const win::ScopedSelect selected(source.get(), bitmap);
    // Whole-pixel scaling without smoothing keeps pixel art sharp at any DPI.
    ::SetStretchBltMode(hdc, COLORONCOLOR);
    const auto stretch = [&](HDC from, DWORD operation) {
      ::StretchBlt(hdc, 0, 0, size.cx, size.cy, from, 0, 0, width, height, operation);
    };
    if (!transparent) {
      stretch(source.get(), SRCCOPY);
    } else {
      // A mask, white where the picture has its transparent colour; then
      // ((background ^ picture) & mask) ^ picture keeps the background there
      // and the picture elsewhere.
      const win::UniqueMemoryDc mask(::CreateCompatibleDC(hdc));
      const win::UniqueBitmap mask_bitmap(::CreateBitmap(width, height, 1, 1, nullptr));
      const win::ScopedSelect mask_selected(mask.get(), mask_bitmap.get());
      ::SetBkColor(source.get(), FromRgb(*transparent));
      ::BitBlt(mask.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
      ::SetTextColor(hdc, RGB(0, 0, 0));      // the mask's black
      ::SetBkColor(hdc, RGB(255, 255, 255));  // and white, on the canvas
      stretch(source.get(), SRCINVERT);
      stretch(mask.get(), SRCAND);
      stretch(source.get(), SRCINVERT);
    }
  }
  ::BitBlt(item.hDC, box.left, box.top, size.cx, size.cy, hdc, 0, 0, SRCCOPY);
}

}  // namespace quorvel::layout
