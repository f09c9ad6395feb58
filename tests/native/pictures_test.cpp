// The launcher's generated pictures (program icon, mouse pointer, logo and
// warrior), read from QUORVEL_PICTURES_DIR, checked for what the program relies on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Sizes = std::vector<std::size_t>;

Bytes ReadFile(const std::string& name) {
  std::ifstream in(std::string(QUORVEL_PICTURES_DIR) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The little-endian number of `size` bytes at `at`; reading past the end throws.
std::size_t Le(const Bytes& data, std::size_t at, std::size_t size = 1) {
  std::size_t value = 0;
  for (std::size_t i = 0; i < size; ++i) value |= std::size_t{data.at(at + i)} << (8 * i);
  return value;
}

std::size_t Stride(std::size_t width, std::size_t bpp) { return (width * bpp + 31) / 32 * 4; }

struct Px {
  std::size_t x, y, r, g, b, rgb;  // rgb: 0xRRGGBB
  bool clear;                      // see-through: set in an icon's or cursor's AND mask
};
constexpr std::size_t kMagenta = 0xFF00FF;

struct Picture {
  std::size_t width, height, bpp, pixels_at;
  std::vector<Px> px;  // top row first
  const Px& At(std::size_t x, std::size_t y) const { return px.at(y * width + x); }
  std::size_t Count(auto test) const { return std::count_if(px.begin(), px.end(), test); }
};

// The bitmap at `dib`: BITMAPINFOHEADER, palette, rows bottom up padded to 4
// bytes, and in an icon or cursor an AND mask after the rows, counted in the height.
Picture Decode(const Bytes& d, std::size_t dib, bool masked) {
  EXPECT_EQ((Sizes{Le(d, dib, 4), Le(d, dib + 12, 2), Le(d, dib + 16, 4)}), (Sizes{40, 1, 0}))
      << "header size, planes, compression";
  const std::size_t w = Le(d, dib + 4, 4), h = Le(d, dib + 8, 4) / (masked ? 2 : 1);
  const std::size_t bpp = Le(d, dib + 14, 2), colours = Le(d, dib + 32, 4), palette = dib + 40;
  EXPECT_EQ(Le(d, dib + 8, 4), (masked ? 2 : 1) * h) << "height";
  Picture p{w, h, bpp, palette + 4 * (colours == 0 && bpp <= 8 ? 1u << bpp : colours), {}};
  for (std::size_t y = 0; y < h; ++y)
    for (std::size_t x = 0; x < w; ++x) {
      const std::size_t row = p.pixels_at + (h - 1 - y) * Stride(w, bpp);
      std::size_t at = row + 3 * x;
      if (bpp == 8) at = palette + 4 * Le(d, row + x);
      if (bpp == 4) at = palette + 4 * (Le(d, row + x / 2) >> (x % 2 ? 0 : 4) & 15);
      const std::size_t rgb = Le(d, at, 3);  // stored blue first
      const std::size_t mask = p.pixels_at + Stride(w, bpp) * h + (h - 1 - y) * Stride(w, 1);
      const bool clear = masked && (Le(d, mask + x / 8) >> (7 - x % 8) & 1);
      p.px.push_back({x, y, rgb >> 16, rgb >> 8 & 0xFF, rgb & 0xFF, rgb, clear});
    }
  return p;
}

Picture ReadBmp(const std::string& name) {
  const Bytes data = ReadFile(name);
  EXPECT_EQ((Sizes{Le(data, 0, 2), Le(data, 2, 4)}), (Sizes{0x4D42, data.size()})) << "BM, size";
  Picture p = Decode(data, 14, false);
  EXPECT_EQ(Le(data, 10, 4), p.pixels_at) << "offset to the pixels";
  EXPECT_TRUE(p.bpp == 8 || p.bpp == 24) << p.bpp << " bits per pixel";
  return p;
}

// The images of an icon (type 1) or cursor (type 2) file, each with its directory
// entry: width, height, colour count, planes or hot spot x, bits or hot spot y, bytes.
std::vector<std::pair<Sizes, Picture>> ReadImages(const std::string& name, std::size_t type) {
  const Bytes data = ReadFile(name);
  EXPECT_EQ((Sizes{Le(data, 0, 2), Le(data, 2, 2)}), (Sizes{0, type})) << "reserved, type";
  std::vector<std::pair<Sizes, Picture>> images;
  for (std::size_t at = 6; at < 6 + 16 * Le(data, 4, 2); at += 16) {
    const Sizes entry{Le(data, at),        Le(data, at + 1),    Le(data, at + 2),
                      Le(data, at + 4, 2), Le(data, at + 6, 2), Le(data, at + 8, 4)};
    EXPECT_LE(entry[5] + Le(data, at + 12, 4), data.size()) << "image past the end";
    images.emplace_back(entry, Decode(data, Le(data, at + 12, 4), true));
  }
  return images;
}

bool Blueish(Px q) { return q.b >= 0x50 && q.b > q.r + 0x30 && q.b > q.g; }
// A see-through pixel that is not black tints the screen beneath it.
bool Tints(Px q) { return q.clear && q.rgb != 0; }

TEST(Pictures, IconHas32And16PixelImagesWithAYellowMiddleAndSeeThroughCorners) {
  std::multiset<std::size_t> sizes;
  for (const auto& [e, p] : ReadImages("quorvel.ico", 1)) {
    const std::size_t n = e[0];
    SCOPED_TRACE(std::to_string(n) + " px image");
    sizes.insert(n);
    EXPECT_EQ(e, (Sizes{n, n, 16, 1, 4, 40 + 16 * 4 + (Stride(n, 4) + Stride(n, 1)) * n}));
    ASSERT_EQ((Sizes{p.width, p.height, p.bpp}), (Sizes{n, n, 4}));
    const auto drawn = [n](Px q) {  // an opaque pixel in the middle half
      return !q.clear && 4 * q.x >= n && 4 * q.x < 3 * n && 4 * q.y >= n && 4 * q.y < 3 * n;
    };
    EXPECT_EQ(p.Count([n](Px q) { return q.clear && q.x % (n - 1) + q.y % (n - 1) == 0; }), 4u);
    EXPECT_GT(p.Count(drawn), n * n / 8);
    EXPECT_GT(p.Count([&](Px q) { return drawn(q) && q.r > 0xC0 && q.g > 0x90 && q.b < 0x80; }),
              n * n / 16);
    EXPECT_EQ(p.Count(Tints), 0u);
  }
  EXPECT_EQ(sizes, (std::multiset<std::size_t>{16, 32}));
}

TEST(Pictures, PointerIsABlueArrowDownRightOfItsCentredHotSpot) {
  const auto images = ReadImages("pointer.cur", 2);
  ASSERT_EQ(images.size(), 1u);
  const auto& [e, p] = images[0];
  EXPECT_EQ(e, (Sizes{32, 32, 0, 16, 16, 40 + 256 * 4 + 32 * 32 + 4 * 32}));
  ASSERT_EQ((Sizes{p.width, p.height, p.bpp}), (Sizes{32, 32, 8}));
  EXPECT_TRUE(!p.At(17, 17).clear && Blueish(p.At(17, 17))) << "the tip";
  EXPECT_TRUE(p.At(16, 17).clear && p.At(17, 16).clear) << "nothing left of or above the tip";
  EXPECT_EQ(p.Count([](Px q) { return q.x < 16 && q.y < 16 && q.clear; }), 16u * 16);
  EXPECT_GE(p.Count([](Px q) { return q.x > 16 && q.y > 16 && !q.clear && Blueish(q); }), 30u);
  EXPECT_EQ(p.Count(Tints), 0u);
}

TEST(Pictures, LogoIsADarkBlueWordmarkOnMagentaKeyColour) {
  const Picture p = ReadBmp("logo.bmp");
  ASSERT_EQ((Sizes{p.width, p.height}), (Sizes{80, 30}));
  EXPECT_EQ(p.Count([](Px q) { return q.x % 79 + q.y % 29 == 0 && q.rgb == kMagenta; }), 4u);
  EXPECT_GT(p.Count([](Px q) { return q.rgb != kMagenta; }), 80u * 30 / 5) << "letters";
  EXPECT_GT(p.Count([](Px q) { return Blueish(q) && q.r < 0x40 && q.g < 0x60; }), 100u);
  // Near-magenta would show as a fringe once the key colour is cut out.
  EXPECT_EQ(
      p.Count([](Px q) { return q.rgb != kMagenta && q.r > 0xC0 && q.g < 0x40 && q.b > 0xC0; }),
      0u);
}

TEST(Pictures, WarriorIsAWarmColouredFigureOnBlack) {
  const Picture p = ReadBmp("warrior.bmp");
  ASSERT_EQ((Sizes{p.width, p.height}), (Sizes{82, 173}));
  EXPECT_EQ(p.Count([](Px q) { return q.x % 81 + q.y % 172 == 0 && q.rgb == 0; }), 4u);
  EXPECT_GT(p.Count([](Px q) { return q.r + q.g + q.b > 0x60; }), 82u * 173 / 6);
  // Skin, tunic and hilt; with red and blue swapped they would be cold.
  EXPECT_GT(p.Count([](Px q) { return q.r > q.b + 0x40; }), 500u);
}

}  // namespace
