// Drawing the caption bar of one painting pass.
#pragma once

#include <windows.h>

#include "caption/caption_geometry.h"

namespace quorvel::caption {

// What the caption of `hwnd` is laid out from, with the system's metrics at
// the DPI.
CaptionInput CaptionInputOf(HWND hwnd, bool has_icon, int dpi);

// Composes the caption in `memory` (a bitmap as wide as the window and
// BitmapHeight() high), copies it onto `window_dc` and takes the caption out
// of `window_dc`'s clip region, which covers the whole window on entry.
void PaintCaption(HWND hwnd, HDC memory, HDC window_dc, HICON icon, const LOGFONTW& font,
                  const CaptionInput& input, Colours colours);

}  // namespace quorvel::caption
