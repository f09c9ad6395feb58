// What the caption bar looks like: its colours, the gradient's bands, and
// where the bands, icon, title and buttons go, as plain numbers. Coordinates
// are window coordinates, which are also the memory bitmap's.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvel::caption {

// Colours as 0x00BBGGRR.
struct Colours {
  std::uint32_t start;
  std::uint32_t end;
  bool operator==(const Colours&) const = default;
};
inline constexpr std::uint32_t kTitleColour = 0x00FFFFFF;

Colours CaptionColours(bool active);

// `count` band colours, band 0 first: per channel a step of (end - start) /
// count added before each band, clamped to 0..255, rounded half to even. No
// band for a count below 1.
std::vector<std::uint32_t> GradientBands(std::uint32_t start, std::uint32_t end, int count);

// Window style bits the caption depends on.
inline constexpr std::uint32_t kDsModalFrame = 0x80;
inline constexpr std::uint32_t kWsSysMenu = 0x80000;
inline constexpr std::uint32_t kWsMaximizeBox = 0x10000;
inline constexpr std::uint32_t kWsMinimizeBox = 0x20000;

// DrawFrameControl states of the caption buttons.
inline constexpr unsigned kButtonClose = 0;
inline constexpr unsigned kButtonMin = 1;
inline constexpr unsigned kButtonMax = 2;
inline constexpr unsigned kButtonRestore = 3;
inline constexpr unsigned kButtonInactive = 0x100;

// The memory bitmap is at least this high.
inline constexpr int kBitmapMinHeight = 50;

struct Box {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const Box&) const = default;
};

struct CaptionInput {
  int button_width = 0;    // S: SM_CXSIZE
  int caption_height = 0;  // H: SM_CYCAPTION
  int window_width = 0;    // Wd
  std::uint32_t style = 0;
  int frame = 0;         // SM_CXFRAME
  int dialog_frame = 0;  // SM_CXDLGFRAME, for DS_MODALFRAME windows
  bool has_icon = false;
  bool zoomed = false;
};

struct Button {
  Box box;
  unsigned state;
  bool operator==(const Button&) const = default;
};

struct CaptionLayout {
  int frame = 0;            // F
  int caption_right = 0;    // W = Wd - F
  int band_count = 0;       // N = W / 8
  int band_width = 0;       // B = W / N
  int last_band_right = 0;  // E
  int band_end = 0;         // T
  std::vector<Box> bands;
  std::optional<Box> icon;
  Box title;
  std::vector<Button> buttons;  // close first
  Box copied;                   // composed in the bitmap, copied to the same place on the window
  Box excluded;                 // taken out of the window's clip region afterwards
};

// The memory bitmap's height for a caption: 50 pixels, or the caption's
// height where that is more, so that a tall caption is composed whole.
int BitmapHeight(const CaptionInput& input);

// The caption's layout for a memory bitmap as wide as the window and
// BitmapHeight() high. Nothing it gives lies outside that bitmap. A window
// too narrow for one band (N = 0) has no layout: the system's caption stays.
std::optional<CaptionLayout> LayOutCaption(const CaptionInput& input);

// The title as drawn: at most 254 characters, leading blanks removed.
std::wstring_view TitleToDraw(std::wstring_view text);

}  // namespace quorvel::caption
