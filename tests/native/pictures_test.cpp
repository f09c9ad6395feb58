// Checks the launcher's generated pictures (program icon, mouse pointer, logo
// and warrior) for the properties the program relies on. The files are read
// from QUORVEL_PICTURES_DIR and parsed with a tiny little-endian reader; no
// Windows headers are needed.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#ifndef QUORVEL_PICTURES_DIR
#error "QUORVEL_PICTURES_DIR must name the directory holding the generated pictures"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readPicture(const std::string& name) {
    const std::string path = std::string(QUORVEL_PICTURES_DIR) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t le(const Bytes& data, std::size_t offset, std::size_t size) {
    if (offset > data.size() || size > data.size() - offset)
        throw std::out_of_range("read past the end of the picture at offset " + std::to_string(offset));
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t(data[offset + i]) << (8 * i);
    return value;
}
std::uint8_t u8(const Bytes& d, std::size_t o) { return std::uint8_t(le(d, o, 1)); }
std::uint16_t u16(const Bytes& d, std::size_t o) { return std::uint16_t(le(d, o, 2)); }
std::uint32_t u32(const Bytes& d, std::size_t o) { return le(d, o, 4); }
std::int32_t i32(const Bytes& d, std::size_t o) { return std::int32_t(le(d, o, 4)); }

struct Rgb {
    int r, g, b;
};

// A device-independent bitmap: BITMAPINFOHEADER, palette, pixel rows bottom-up
// padded to 4 bytes, and for icons and cursors a 1-bit AND mask after them.
struct Dib {
    const Bytes* data = nullptr;
    std::size_t start = 0;
    int width = 0, height = 0, bpp = 0;
    std::size_t paletteAt = 0, pixelsAt = 0, maskAt = 0;
    bool hasMask = false;

    static std::size_t stride(int width, int bits) { return ((std::size_t(width) * bits + 31) / 32) * 4; }

    Rgb pixel(int x, int y) const {
        const std::size_t row = pixelsAt + std::size_t(height - 1 - y) * stride(width, bpp);
        if (bpp == 24) {
            const std::size_t at = row + std::size_t(x) * 3;
            return {u8(*data, at + 2), u8(*data, at + 1), u8(*data, at)};
        }
        unsigned index = 0;
        if (bpp == 8) {
            index = u8(*data, row + x);
        } else if (bpp == 4) {
            const std::uint8_t both = u8(*data, row + x / 2);
            index = (x % 2 == 0) ? both >> 4 : both & 0x0F;
        } else {
            throw std::runtime_error("unexpected bit depth " + std::to_string(bpp));
        }
        const std::size_t at = paletteAt + index * 4;
        return {u8(*data, at + 2), u8(*data, at + 1), u8(*data, at)};
    }

    // True where the AND mask leaves the screen showing through.
    bool transparent(int x, int y) const {
        const std::size_t row = maskAt + std::size_t(height - 1 - y) * stride(width, 1);
        return (u8(*data, row + x / 8) >> (7 - x % 8)) & 1;
    }
};

Dib readDib(const Bytes& data, std::size_t start, bool withMask) {
    Dib dib;
    dib.data = &data;
    dib.start = start;
    EXPECT_EQ(u32(data, start), 40u) << "BITMAPINFOHEADER size";
    dib.width = i32(data, start + 4);
    const std::int32_t rawHeight = i32(data, start + 8);
    dib.height = withMask ? rawHeight / 2 : rawHeight;
    if (withMask) {
        EXPECT_EQ(rawHeight, dib.height * 2) << "icon and cursor images store a doubled height";
    }
    EXPECT_EQ(u16(data, start + 12), 1) << "planes";
    dib.bpp = u16(data, start + 14);
    EXPECT_EQ(u32(data, start + 16), 0u) << "pictures are uncompressed";
    if (dib.width <= 0 || dib.height <= 0) throw std::runtime_error("bad bitmap size");
    std::uint32_t colours = u32(data, start + 32);
    if (colours == 0 && dib.bpp <= 8) colours = 1u << dib.bpp;
    dib.paletteAt = start + 40;
    dib.pixelsAt = dib.paletteAt + std::size_t(colours) * 4;
    dib.maskAt = dib.pixelsAt + Dib::stride(dib.width, dib.bpp) * dib.height;
    dib.hasMask = withMask;
    const std::size_t end = withMask ? dib.maskAt + Dib::stride(dib.width, 1) * dib.height : dib.maskAt;
    if (end > data.size()) throw std::out_of_range("bitmap bits run past the end of the file");
    return dib;
}

struct DirEntry {
    int width, height, colourCount, planesOrHotX, bitsOrHotY;
    std::uint32_t size, offset;
};

// ICONDIR + ICONDIRENTRY list; type 1 = icon, 2 = cursor.
std::vector<DirEntry> readDirectory(const Bytes& data, int expectedType) {
    EXPECT_EQ(u16(data, 0), 0) << "reserved";
    EXPECT_EQ(u16(data, 2), expectedType) << "resource type";
    std::vector<DirEntry> entries;
    const int count = u16(data, 4);
    for (int i = 0; i < count; ++i) {
        const std::size_t at = 6 + std::size_t(i) * 16;
        DirEntry e{u8(data, at), u8(data, at + 1), u8(data, at + 2), u16(data, at + 4),
                   u16(data, at + 6), u32(data, at + 8), u32(data, at + 12)};
        if (e.width == 0) e.width = 256;
        if (e.height == 0) e.height = 256;
        EXPECT_LE(std::size_t(e.offset) + e.size, data.size()) << "image " << i << " lies outside the file";
        EXPECT_GE(e.offset, 6u + 16u * count) << "image " << i << " overlaps the directory";
        entries.push_back(e);
    }
    return entries;
}

bool blueish(Rgb c) { return c.b >= 0x50 && c.b > c.r + 0x30 && c.b > c.g; }

TEST(ProgramIcon, HoldsA32And16PixelSixteenColourImage) {
    const Bytes data = readPicture("quorvel.ico");
    const auto entries = readDirectory(data, 1);
    ASSERT_EQ(entries.size(), 2u);
    bool seen32 = false, seen16 = false;
    for (const auto& e : entries) {
        EXPECT_EQ(e.width, e.height);
        EXPECT_EQ(e.colourCount, 16);
        EXPECT_EQ(e.planesOrHotX, 1);
        EXPECT_EQ(e.bitsOrHotY, 4);
        const Dib dib = readDib(data, e.offset, true);
        EXPECT_EQ(dib.width, e.width);
        EXPECT_EQ(dib.height, e.height);
        EXPECT_EQ(dib.bpp, 4);
        const std::size_t bytes = 40 + 16 * 4 + Dib::stride(dib.width, 4) * dib.height +
                                  Dib::stride(dib.width, 1) * dib.height;
        EXPECT_EQ(e.size, bytes) << "directory size of the " << e.width << " pixel image";
        seen32 = seen32 || e.width == 32;
        seen16 = seen16 || e.width == 16;
    }
    EXPECT_TRUE(seen32);
    EXPECT_TRUE(seen16);
}

TEST(ProgramIcon, TransparentCornersAroundAnOpaqueMiddle) {
    const Bytes data = readPicture("quorvel.ico");
    for (const auto& e : readDirectory(data, 1)) {
        const Dib dib = readDib(data, e.offset, true);
        const int n = dib.width;
        for (auto [x, y] : {std::pair{0, 0}, std::pair{n - 1, 0}, std::pair{0, n - 1}, std::pair{n - 1, n - 1}}) {
            EXPECT_TRUE(dib.transparent(x, y)) << n << " px image, corner " << x << "," << y;
            const Rgb c = dib.pixel(x, y);
            EXPECT_TRUE(c.r == 0 && c.g == 0 && c.b == 0) << "a see-through pixel must be black, or it tints the screen";
        }
        int opaque = 0, yellow = 0;
        for (int y = n / 4; y < 3 * n / 4; ++y)
            for (int x = n / 4; x < 3 * n / 4; ++x)
                if (!dib.transparent(x, y)) {
                    ++opaque;
                    const Rgb c = dib.pixel(x, y);
                    if (c.r > 0xC0 && c.g > 0x90 && c.b < 0x80) ++yellow;
                }
        EXPECT_GT(opaque, n * n / 8) << n << " px image has too little drawn in the middle";
        EXPECT_GT(yellow, n * n / 16) << n << " px image lacks the yellow letter";
    }
}

TEST(MousePointer, Is32PixelTwoHundredFiftySixColourWithCentredHotSpot) {
    const Bytes data = readPicture("pointer.cur");
    const auto entries = readDirectory(data, 2);
    ASSERT_EQ(entries.size(), 1u);
    const DirEntry& e = entries[0];
    EXPECT_EQ(e.width, 32);
    EXPECT_EQ(e.height, 32);
    EXPECT_EQ(e.planesOrHotX, 16) << "hot spot x";
    EXPECT_EQ(e.bitsOrHotY, 16) << "hot spot y";
    const Dib dib = readDib(data, e.offset, true);
    EXPECT_EQ(dib.width, 32);
    EXPECT_EQ(dib.height, 32);
    EXPECT_EQ(dib.bpp, 8);
    EXPECT_EQ(e.size, 40u + 256 * 4 + 32 * 32 + 4 * 32) << "256-entry palette, pixels, mask";
}

TEST(MousePointer, BlueArrowTipAtSeventeenAndEmptyTopLeftQuarter) {
    const Bytes data = readPicture("pointer.cur");
    const auto entries = readDirectory(data, 2);
    ASSERT_EQ(entries.size(), 1u);
    const Dib dib = readDib(data, entries[0].offset, true);
    ASSERT_EQ(dib.width, 32);
    ASSERT_EQ(dib.height, 32);
    EXPECT_FALSE(dib.transparent(17, 17));
    const Rgb tip = dib.pixel(17, 17);
    EXPECT_TRUE(blueish(tip)) << "tip colour " << tip.r << "," << tip.g << "," << tip.b;
    // The arrow is up-left-pointing: nothing above or left of the tip.
    EXPECT_TRUE(dib.transparent(16, 17));
    EXPECT_TRUE(dib.transparent(17, 16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            EXPECT_TRUE(dib.transparent(x, y)) << "pixel " << x << "," << y;
            const Rgb c = dib.pixel(x, y);
            EXPECT_TRUE(c.r == 0 && c.g == 0 && c.b == 0) << "pixel " << x << "," << y;
        }
    int blue = 0;
    for (int y = 17; y < 32; ++y)
        for (int x = 17; x < 32; ++x)
            if (!dib.transparent(x, y) && blueish(dib.pixel(x, y))) ++blue;
    EXPECT_GE(blue, 30) << "the arrow body should be blue";
}

Dib readBmp(const Bytes& data) {
    EXPECT_EQ(u8(data, 0), 'B');
    EXPECT_EQ(u8(data, 1), 'M');
    EXPECT_EQ(u32(data, 2), data.size()) << "file size in BITMAPFILEHEADER";
    const Dib dib = readDib(data, 14, false);
    EXPECT_EQ(u32(data, 10), dib.pixelsAt) << "offset to the pixel bits";
    EXPECT_TRUE(dib.bpp == 8 || dib.bpp == 24) << "bit depth " << dib.bpp;
    return dib;
}

TEST(Logo, IsAnEightyByThirtyWordmarkOnMagenta) {
    const Bytes data = readPicture("logo.bmp");
    const Dib dib = readBmp(data);
    ASSERT_EQ(dib.width, 80);
    ASSERT_EQ(dib.height, 30);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{79, 0}, std::pair{0, 29}, std::pair{79, 29}}) {
        const Rgb c = dib.pixel(x, y);
        EXPECT_TRUE(c.r == 0xFF && c.g == 0 && c.b == 0xFF) << "corner " << x << "," << y;
    }
    int letters = 0, darkBlue = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            const Rgb c = dib.pixel(x, y);
            if (c.r == 0xFF && c.g == 0 && c.b == 0xFF) continue;
            ++letters;
            if (blueish(c) && c.r < 0x40 && c.g < 0x60) ++darkBlue;
            // Near-magenta would show as a fringe once the key colour is cut out.
            EXPECT_FALSE(c.r > 0xC0 && c.g < 0x40 && c.b > 0xC0) << "near-key colour at " << x << "," << y;
        }
    EXPECT_GT(letters, 80 * 30 / 5);
    EXPECT_GT(darkBlue, 100) << "letters should have a dark blue outline";
}

TEST(Warrior, IsEightyTwoBy173OnBlack) {
    const Bytes data = readPicture("warrior.bmp");
    const Dib dib = readBmp(data);
    ASSERT_EQ(dib.width, 82);
    ASSERT_EQ(dib.height, 173);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{81, 0}, std::pair{0, 172}, std::pair{81, 172}}) {
        const Rgb c = dib.pixel(x, y);
        EXPECT_TRUE(c.r == 0 && c.g == 0 && c.b == 0) << "corner " << x << "," << y;
    }
    int drawn = 0, warm = 0;
    for (int y = 0; y < 173; ++y)
        for (int x = 0; x < 82; ++x) {
            const Rgb c = dib.pixel(x, y);
            if (c.r + c.g + c.b > 0x60) ++drawn;
            if (c.r > c.b + 0x40) ++warm;
        }
    EXPECT_GT(drawn, 82 * 173 / 6) << "the figure should fill a fair part of the picture";
    // Skin, tunic and hilt are warm colours; swapped red and blue would make them cold.
    EXPECT_GT(warm, 500);
}

}  // namespace
