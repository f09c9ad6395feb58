// Layout colours as the system's COLORREF values.
#pragma once

#include <windows.h>

#include <cstdint>

#include "layout/form_layout.h"

namespace quorvel::layout {

// The portable layouts name system colours by Windows' numbers: here they meet
// their names in windows.h.
static_assert(kColorWindow == COLOR_WINDOW && kColorMenuText == COLOR_MENUTEXT);
static_assert(kColorWindowText == COLOR_WINDOWTEXT && kColorHighlightText == COLOR_HIGHLIGHTTEXT);
static_assert(kColorButtonFace == COLOR_BTNFACE && kColorButtonText == COLOR_BTNTEXT);

// 0xRRGGBB as the system's 0x00BBGGRR.
inline COLORREF FromRgb(std::uint32_t rrggbb) {
  return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

// The colour as the system shows it now; `fallback` where the layout leaves
// the colour as it is.
inline COLORREF ToColorRef(const Colour& colour, COLORREF fallback) {
  switch (colour.source) {
    case Colour::Source::kRgb:
      return FromRgb(colour.value);
    case Colour::Source::kSystem:
      return ::GetSysColor(static_cast<int>(colour.value));
    case Colour::Source::kDefault:
      break;
  }
  return fallback;
}

}  // namespace quorvel::layout
