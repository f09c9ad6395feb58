// The launcher's generated pictures (program icon, mouse pointer, logo and warrior), read from
// QUORVEL_PICTURES_DIR: their sizes, colour depths and see-through parts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Sizes = std::vector<std::size_t>;

// The little-endian number of `size` bytes at `at`; reading past the end throws.
std::size_t Le(const Bytes& data, std::size_t at, std::size_t size = 1) {
  std::size_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= std::size_t{data.at(at + i)} << (8 * i);
  return value;
}

std::size_t Stride(std::size_t width, std::size_t bpp) { return (width * bpp + 31) / 32 * 4; }

struct Px {
  std::size_t x, y, rgb;  // rgb: 0xRRGGBB
  bool clear;             // see-through: set in an icon's or cursor's AND mask
};

struct Picture {
  Sizes entry;  // an icon's or cursor's directory entry, as Read() gives it
  std::size_t width, height, bpp;
  std::vector<Px> px;  // top row first
  std::size_t Count(auto test) const { return std::count_if(px.begin(), px.end(), test); }
  bool Corner(Px q) const { return q.x % (width - 1) + q.y % (height - 1) == 0; }
};

// The bitmap at `dib`: BITMAPINFOHEADER, palette, rows bottom up padded to 4
// bytes, and in an icon or cursor an AND mask after the rows, counted in the height.
Picture Decode(const Bytes& d, std::size_t dib, const Sizes& entry) {
  const std::size_t halves = entry.empty() ? 1 : 2, palette = dib + 40, n = Le(d, dib + 32, 4);
  const std::size_t w = Le(d, dib + 4, 4), h = Le(d, dib + 8, 4) / halves, bpp = Le(d, dib + 14, 2);
  const std::size_t pixels = palette + 4 * (n == 0 && bpp <= 8 ? 1u << bpp : n);  // n colours
  EXPECT_EQ((Sizes{Le(d, dib, 4), Le(d, dib + 8, 4), Le(d, dib + 12, 2), Le(d, dib + 16, 4)}),
            (Sizes{40, halves * h, 1, 0}))
      << "header size, height, planes, compression";
  if (entry.empty()) {  // a bitmap file
    EXPECT_EQ((Sizes{Le(d, 0, 2), Le(d, 2, 4), Le(d, 10, 4)}), (Sizes{0x4D42, d.size(), pixels}))
        << "BM, file size, offset to the pixels";
  }
  Picture p{entry, w, h, bpp, {}};
  for (std::size_t y = 0; y < h; ++y)
    for (std::size_t x = 0; x < w; ++x) {
      const std::size_t row = pixels + (h - 1 - y) * Stride(w, bpp);
      std::size_t at = row + 3 * x;
      if (bpp == 8) at = palette + 4 * Le(d, row + x);
      if (bpp == 4) at = palette + 4 * (Le(d, row + x / 2) >> (x % 2 ? 0 : 4) & 15);
      const std::size_t mask = pixels + Stride(w, bpp) * h + (h - 1 - y) * Stride(w, 1);
      const bool clear = !entry.empty() && (Le(d, mask + x / 8) >> (7 - x % 8) & 1);
      p.px.push_back({x, y, Le(d, at, 3), clear});  // stored blue first
    }
  return p;
}

// The images of an icon (type 1) or cursor (type 2) file, or a bitmap file's one (type 0).
std::vector<Picture> Read(const std::string& name, std::size_t type) {
  std::ifstream in(std::string(QUORVEL_PICTURES_DIR) + "/" + name, std::ios::binary);
  const Bytes data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (type == 0) return {Decode(data, 14, {})};
  EXPECT_EQ((Sizes{Le(data, 0, 2), Le(data, 2, 2)}), (Sizes{0, type})) << "reserved, type";
  std::vector<Picture> images;
  for (std::size_t at = 6; at < 6 + 16 * Le(data, 4, 2); at += 16)
    images.push_back(Decode(data, Le(data, at + 12, 4),
                            {Le(data, at), Le(data, at + 1), Le(data, at + 2), Le(data, at + 4, 2),
                             Le(data, at + 6, 2), Le(data, at + 8, 4)}));
  return images;
}

TEST(Pictures, IconHas32And16PixelImagesInSixteenColoursWithSeeThroughCorners) {
  Sizes sizes;
  for (const Picture& p : Read("quorvel.ico", 1)) {
    const std::size_t n = p.width;
    sizes.push_back(n);
    EXPECT_EQ(p.entry, (Sizes{n, n, 16, 1, 4, 40 + 16 * 4 + (Stride(n, 4) + Stride(n, 1)) * n}));
    EXPECT_EQ((Sizes{p.height, p.bpp}), (Sizes{n, 4}));
    EXPECT_EQ(p.Count([&](Px q) { return p.Corner(q) && q.clear; }), 4u) << n;
    EXPECT_GT(p.Count([](Px q) { return !q.clear; }), n * n / 4) << n;
    // A see-through pixel that is not black tints the screen beneath it.
    EXPECT_EQ(p.Count([](Px q) { return q.clear && q.rgb != 0; }), 0u) << n;
  }
  EXPECT_EQ(sizes, (Sizes{32, 16}));
}

TEST(Pictures, PointerIsAnArrowDownRightOfItsCentredHotSpot) {
  const Picture p = Read("pointer.cur", 2).at(0);
  EXPECT_EQ(p.entry, (Sizes{32, 32, 0, 16, 16, 40 + 256 * 4 + 32 * 32 + 4 * 32}));
  ASSERT_EQ((Sizes{p.width, p.height, p.bpp}), (Sizes{32, 32, 8}));
  EXPECT_TRUE(!p.px.at(17 * 32 + 17).clear && p.Count([](Px q) { return !q.clear; }) > 30)
      << "an arrow from its tip";
  EXPECT_EQ(p.Count([](Px q) { return !q.clear && (q.x < 17 || q.y < 17); }), 0u);
  EXPECT_EQ(p.Count([](Px q) { return q.clear && q.rgb != 0; }), 0u);
}

TEST(Pictures, LogoOnMagentaKeyColourAndWarriorOnBlack) {
  for (const auto& [name, width, height, key] :
       {std::tuple("logo.bmp", 80u, 30u, 0xFF00FFu), std::tuple("warrior.bmp", 82u, 173u, 0u)}) {
    const Picture p = Read(name, 0)[0];
    ASSERT_EQ((Sizes{p.width, p.height}), (Sizes{width, height})) << name;
    EXPECT_TRUE(p.bpp == 8 || p.bpp == 24) << name << ": " << p.bpp << " bits per pixel";
    EXPECT_EQ(p.Count([&](Px q) { return p.Corner(q) && q.rgb == key; }), 4u) << name;
    EXPECT_GT(p.Count([&](Px q) { return q.rgb != key; }), width * height / 6) << name;
  }
  // Near-magenta would show as a fringe once the key colour is cut out.
  EXPECT_EQ(Read("logo.bmp", 0)[0].Count(
                [](Px q) { return q.rgb != 0xFF00FF && (q.rgb & 0xC0C0C0) == 0xC000C0; }),
            0u);
  // Skin, tunic and hilt; with red and blue swapped they would be cold.
  EXPECT_GT(
      Read("warrior.bmp", 0)[0].Count([](Px q) { return (q.rgb >> 16) > (q.rgb & 255) + 64; }),
      500u);
}

}  // namespace
