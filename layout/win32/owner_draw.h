// The controls the program draws itself: push buttons in their layout colour
// (a standard push button ignores its colour) and pictures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

namespace quorvel::layout {

// A raised (pressed: sunken) button face with its window text centred.
void DrawButton(const DRAWITEMSTRUCT& item, COLORREF face, HFONT font);

// Paints the parent's background into `hdc` as it lies under a picture,
// `origin` being the picture's top-left corner in the parent.
using BackgroundPainter = std::function<void(HDC hdc, POINT origin, SIZE size)>;

// The bitmap stretched over the picture control by whole pixels; where it has
// the `transparent` colour (0xRRGGBB), the background shows through.
void DrawPicture(const DRAWITEMSTRUCT& item, HBITMAP bitmap,
                 std::optional<std::uint32_t> transparent, const BackgroundPainter& background);

}  // namespace quorvel::layout
