// The main window's backdrop picture, a pure pattern, drawn by code: white
// with a grid of thin lines every 32 pixels and a sunken edge along the left
// and top.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/form_layout.h"

namespace quorvel::launcher {

inline constexpr int kBackdropWidth = 796;  // at 96 DPI
inline constexpr int kBackdropHeight = 446;

struct Fill {
  layout::Rect rect;  // pixels, from the client area's top-left corner
  std::uint32_t rgb;  // 0xRRGGBB
  bool operator==(const Fill&) const = default;
};

// The rectangles to fill, in order, to draw the backdrop at a DPI; later
// fills cover earlier ones.
std::vector<Fill> BackdropFills(int dpi);

}  // namespace quorvel::launcher
