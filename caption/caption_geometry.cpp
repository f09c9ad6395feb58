#include "caption/caption_geometry.h"

#include <algorithm>
#include <cmath>

namespace quorvel::caption {
namespace {

Box ClipTo(Box box, int width, int height) {
  box.left = std::clamp(box.left, 0, width);
  box.right = std::clamp(box.right, 0, width);
  box.top = std::clamp(box.top, 0, height);
  box.bottom = std::clamp(box.bottom, 0, height);
  return box;
}

std::vector<Button> Buttons(const CaptionInput& input, int right, int frame) {
  if (!(input.style & kWsSysMenu)) return {};
  const int s = input.button_width;
  const int top = frame + 2;
  const int bottom = frame + input.caption_height - 3;
  std::vector<Button> buttons{{{right - s, top, right - 2, bottom}, kButtonClose}};
  const bool maximize = input.style & kWsMaximizeBox;
  const bool minimize = input.style & kWsMinimizeBox;
  if (!maximize && !minimize) return buttons;
  const unsigned size_state = input.zoomed ? kButtonRestore : kButtonMax;
  buttons.push_back({{right - 2 * s, top, right - s - 2, bottom},
                     maximize ? size_state : size_state | kButtonInactive});
  buttons.push_back({{right - 3 * s + 2, top, right - 2 * s, bottom},
                     minimize ? kButtonMin : kButtonMin | kButtonInactive});
  return buttons;
}

}  // namespace

Colours CaptionColours(bool active) {
  return active ? Colours{0x00FF0000, 0x00FFFFFF} : Colours{0x00C0C0C0, 0x00FFFFFF};
}

std::vector<std::uint32_t> GradientBands(std::uint32_t start, std::uint32_t end, int count) {
  if (count < 1) return {};
  std::vector<std::uint32_t> bands(static_cast<std::size_t>(count), 0);
  for (int shift = 0; shift <= 16; shift += 8) {
    const double from = (start >> shift) & 0xFF;
    const double to = (end >> shift) & 0xFF;
    const double step = (to - from) / count;
    double channel = from;
    for (std::uint32_t& band : bands) {
      channel = std::clamp(channel + step, 0.0, 255.0);
      // nearbyint rounds an exact half to the even neighbour.
      band |= static_cast<std::uint32_t>(std::nearbyint(channel)) << shift;
    }
  }
  return bands;
}

int BitmapHeight(const CaptionInput& input) {
  const int frame = (input.style & kDsModalFrame) ? input.dialog_frame : input.frame;
  return std::max(kBitmapMinHeight, frame + input.caption_height - 1);
}

std::optional<CaptionLayout> LayOutCaption(const CaptionInput& input) {
  CaptionLayout layout;
  const bool modal_frame = input.style & kDsModalFrame;
  const int f = modal_frame ? input.dialog_frame : input.frame;
  const int s = input.button_width;
  const int h = input.caption_height;
  const int w = input.window_width - f;
  const int n = w / 8;
  if (n < 1 || f < 0 || h < 1) return std::nullopt;
  const int b = w / n;
  const int e = input.window_width - (modal_frame ? 3 : 4);
  const int t = n >= 2 ? e + b : f + 2 * b;
  layout.frame = f;
  layout.caption_right = w;
  layout.band_count = n;
  layout.band_width = b;
  layout.last_band_right = e;
  layout.band_end = t;

  const int width = input.window_width;
  const int height = BitmapHeight(input);
  const int bottom = f + h - 1;
  for (int k = 0; k < n; ++k) {
    const int right = (n >= 2 && k == n - 1) ? e : f + (k + 1) * b;
    layout.bands.push_back(ClipTo({f + k * b, f, right, bottom}, width, height));
  }
  if (input.has_icon) layout.icon = Box{f + 1, f + 1, f + s - 1, f + s - 1};
  const int title_left = (input.has_icon ? f + s + 2 : f) + 2;
  layout.title = ClipTo({title_left, f, t - 10, bottom}, width, height);
  layout.buttons = Buttons(input, w, f);
  layout.copied = ClipTo({f, f, t - 8, bottom}, width, height);
  layout.excluded = {f, f, w, bottom};
  return layout;
}

std::wstring_view TitleToDraw(std::wstring_view text) {
  text = text.substr(0, 254);
  const std::size_t first = text.find_first_not_of(L' ');
  return first == std::wstring_view::npos ? std::wstring_view() : text.substr(first);
}

}  // namespace quorvel::caption
