#include "layout/form_layout.h"

#include <algorithm>
#include <cstdlib>

#include "platform/ascii.h"

namespace quorvel::layout {
namespace {

// Rounds a * b / c to the nearest integer, halves away from zero, as the
// system's MulDiv does.
int MulDivRound(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

struct Substitute {
  std::string_view face;
  std::vector<std::string_view> candidates;
};

// The faces of the layouts that a system may lack, and what comes nearest to
// each in size, weight and slant on the systems we meet (Windows, Wine with
// the Liberation fonts).
const std::vector<Substitute>& Substitutes() {
  static const std::vector<Substitute> table = {
      {"Times New Roman", {"Liberation Serif", "Tinos", "DejaVu Serif"}},
      {"MS Sans Serif", {"Microsoft Sans Serif", "Tahoma", "Liberation Sans", "Arial"}},
      {"Arial", {"Liberation Sans", "Arimo", "DejaVu Sans"}},
      {"Arial Narrow",
       {"Liberation Sans Narrow", "Nimbus Sans Narrow", "Arial", "Liberation Sans"}},
      {"Terminal", {"Fixedsys", "Courier New", "Liberation Mono", "DejaVu Sans Mono"}},
      // A decorative face, else a bold serif.
      {"Aristocrat", {"Old English Text MT", "Algerian", "Times New Roman", "Liberation Serif"}},
      // A script face: Windows' own, else URW's chancery.
      {"Brush Script MT", {"Segoe Script", "Script MT Bold", "Monotype Corsiva", "Z003"}},
  };
  return table;
}

}  // namespace

int TwipsToPixels(int twips, int dpi) { return MulDivRound(twips, dpi, 1440); }

Rect ToPixels(const Rect& twips, int dpi) {
  return {TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
          TwipsToPixels(twips.width, dpi), TwipsToPixels(twips.height, dpi)};
}

int FontHeight(const Font& font, int dpi) {
  // An exact half rounds down, unlike the boxes, which round up: text scaled
  // for a DPI then never outgrows a box it fitted at 96 DPI.
  const long long scaled = static_cast<long long>(font.centipoints) * dpi;
  return -static_cast<int>((2 * scaled + 7200 - 1) / 14400);
}

std::vector<std::string_view> FaceCandidates(std::string_view face) {
  std::vector<std::string_view> faces{face};
  for (const Substitute& substitute : Substitutes()) {
    if (!ascii::EqualIgnoringCase(substitute.face, face)) continue;
    faces.insert(faces.end(), substitute.candidates.begin(), substitute.candidates.end());
  }
  return faces;
}

std::vector<Rect> CoveredParts(std::span<const Control> controls, std::size_t index, int dpi) {
  std::vector<Rect> covered;
  const Rect self = ToPixels(controls[index].twips, dpi);
  for (std::size_t other_index = 0; other_index < controls.size(); ++other_index) {
    const Rect other = ToPixels(controls[other_index].twips, dpi);
    const bool in_front = other.left != self.left ? other.left > self.left : other_index > index;
    if (other_index == index || !in_front) continue;
    const int left = std::max(self.left, other.left);
    const int top = std::max(self.top, other.top);
    const int right = std::min(self.right(), other.right());
    const int bottom = std::min(self.bottom(), other.bottom());
    if (left < right && top < bottom)
      covered.push_back({left - self.left, top - self.top, right - left, bottom - top});
  }
  return covered;
}

std::optional<int> NextInOrder(std::span<const int> order, int id, int step) {
  const auto found = std::find(order.begin(), order.end(), id);
  if (found == order.end()) return std::nullopt;
  const auto size = static_cast<int>(order.size());
  const int index = static_cast<int>(found - order.begin());
  return order[static_cast<std::size_t>(((index + step) % size + size) % size)];
}

const Control* Find(std::span<const Control> controls, std::string_view name) {
  for (const Control& control : controls)
    if (control.name == name) return &control;
  return nullptr;
}

}  // namespace quorvel::layout
