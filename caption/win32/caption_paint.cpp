#include "caption/win32/caption_paint.h"

#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"

namespace quorvel::caption {
namespace {

RECT ToRect(const Box& box) { return {box.left, box.top, box.right, box.bottom}; }

}  // namespace

CaptionInput CaptionInputOf(HWND hwnd, bool has_icon, int dpi) {
  RECT window;
  ::GetWindowRect(hwnd, &window);
  CaptionInput input;
  input.button_width = win::SystemMetric(SM_CXSIZE, dpi);
  input.caption_height = win::SystemMetric(SM_CYCAPTION, dpi);
  input.window_width = window.right - window.left;
  input.style = static_cast<std::uint32_t>(::GetWindowLongPtrW(hwnd, GWL_STYLE));
  input.frame = win::SystemMetric(SM_CXFRAME, dpi);
  input.dialog_frame = win::SystemMetric(SM_CXDLGFRAME, dpi);
  input.has_icon = has_icon;
  input.zoomed = ::IsZoomed(hwnd) != FALSE;
  return input;
}

void PaintCaption(HWND hwnd, HDC memory, HDC window_dc, HICON icon, const LOGFONTW& font,
                  const CaptionInput& input, Colours colours) {
  const std::optional<CaptionLayout> layout = LayOutCaption(input);
  if (!layout) return;  // too narrow for a gradient: the system's caption stays

  const std::vector<std::uint32_t> band_colours =
      GradientBands(colours.start, colours.end, layout->band_count);
  const auto dc_brush = static_cast<HBRUSH>(::GetStockObject(DC_BRUSH));
  for (std::size_t k = 0; k < layout->bands.size(); ++k) {
    ::SetDCBrushColor(memory, band_colours[k]);
    const RECT band = ToRect(layout->bands[k]);
    ::FillRect(memory, &band, dc_brush);
  }
  if (icon && layout->icon) {
    // The image alone, without its mask, as the caption has always shown it.
    ::DrawIconEx(memory, layout->icon->left, layout->icon->top, icon,
                 layout->icon->right - layout->icon->left, layout->icon->bottom - layout->icon->top,
                 0, nullptr, DI_IMAGE);
  }

  wchar_t text[255] = {};
  const int length = ::GetWindowTextW(hwnd, text, static_cast<int>(std::size(text)));
  const std::wstring_view title =
      TitleToDraw({text, static_cast<std::size_t>(std::max(length, 0))});
  {
    const win::UniqueFont title_font(::CreateFontIndirectW(&font));
    const win::ScopedSelect selected(memory, title_font.get());
    ::SetBkMode(memory, TRANSPARENT);
    ::SetTextColor(memory, kTitleColour);
    RECT box = ToRect(layout->title);
    // No prefix: an "&" in a title is shown, not taken as a mnemonic.
    ::DrawTextW(memory, title.data(), static_cast<int>(title.size()), &box,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  for (const Button& button : layout->buttons) {
    RECT box = ToRect(button.box);
    ::DrawFrameControl(memory, &box, DFC_CAPTION, button.state);
  }

  if (!window_dc) return;
  const Box& copied = layout->copied;
  if (!copied.empty())
    ::BitBlt(window_dc, copied.left, copied.top, copied.right - copied.left,
             copied.bottom - copied.top, memory, copied.left, copied.top, SRCCOPY);
  const Box& excluded = layout->excluded;
  ::ExcludeClipRect(window_dc, excluded.left, excluded.top, excluded.right, excluded.bottom);
}

}  // namespace quorvel::caption
