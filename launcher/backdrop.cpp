#include "launcher/backdrop.h"

#include <algorithm>

namespace quorvel::launcher {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kGrid = 0xB5B5CE;
constexpr std::uint32_t kEdgeOuter = 0x848484;
constexpr std::uint32_t kBlack = 0x000000;
constexpr int kSpacing = 32;
constexpr int kFirstColumn = 2;
constexpr int kFirstRow = 1;

int Scale(int pixels, int dpi) { return (pixels * dpi + 48) / 96; }

}  // namespace

std::vector<Fill> BackdropFills(int dpi) {
  const int width = Scale(kBackdropWidth, dpi);
  const int height = Scale(kBackdropHeight, dpi);
  const int line = std::max(1, Scale(1, dpi));  // whole pixels, so never blurred
  std::vector<Fill> fills{{{0, 0, width, height}, kWhite}};
  for (int x = kFirstColumn; x < kBackdropWidth; x += kSpacing)
    fills.push_back({{Scale(x, dpi), 0, line, height}, kGrid});
  for (int y = kFirstRow; y < kBackdropHeight; y += kSpacing)
    fills.push_back({{0, Scale(y, dpi), width, line}, kGrid});
  fills.push_back({{0, 0, line, height}, kEdgeOuter});
  fills.push_back({{line, 0, line, height}, kBlack});
  fills.push_back({{0, 0, width, line}, kBlack});
  return fills;
}

}  // namespace quorvel::launcher
