// A window's layout as data: its controls with kind, caption, rectangle in
// twips, font, colours and tab order, and the arithmetic that turns twips
// into pixels for a DPI. Shared by the main window and the dialogs; one
// builder (win32/window_controls.h) makes any window's controls from its table.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace quorvel::layout {

enum class Kind { kLabel, kFileList, kCheckBox, kOptionButton, kButton, kPicture };

// A colour: either #RRGGBB or one of the system colours by its index.
struct Colour {
  enum class Source { kDefault, kRgb, kSystem };
  Source source = Source::kDefault;
  std::uint32_t value = 0;  // 0xRRGGBB for kRgb, the system colour index for kSystem

  static constexpr Colour Rgb(std::uint32_t rrggbb) { return {Source::kRgb, rrggbb}; }
  static constexpr Colour System(std::uint32_t index) { return {Source::kSystem, index}; }
  bool operator==(const Colour&) const = default;
};

inline constexpr std::uint32_t kColorWindow = 5;
inline constexpr std::uint32_t kColorMenuText = 7;
inline constexpr std::uint32_t kColorWindowText = 8;
inline constexpr std::uint32_t kColorHighlightText = 14;
inline constexpr std::uint32_t kColorButtonFace = 15;
inline constexpr std::uint32_t kColorButtonText = 18;

struct Font {
  std::string_view face;  // empty: the window's default font
  int centipoints = 0;    // 975 for 9.75 pt
  bool bold = false;
  bool italic = false;
  bool oem_charset = false;
  bool operator==(const Font&) const = default;
};

// The fonts and colours the program's layouts share.
inline constexpr Font kTimesFont{"Times New Roman", 975};  // 9.75 pt, not 10
inline constexpr Font kHeadingFont{"Times New Roman", 1200, true};
inline constexpr Font kTerminalFont{"Terminal", 900, false, false, true};
inline constexpr Font kDefaultFont{"MS Sans Serif", 825};  // a window's default font
inline constexpr Colour kYellow = Colour::Rgb(0xFFFF00);
inline constexpr Colour kWhite = Colour::Rgb(0xFFFFFF);
inline constexpr Colour kWindow = Colour::System(kColorWindow);
inline constexpr Colour kWindowText = Colour::System(kColorWindowText);
inline constexpr Colour kHighlightText = Colour::System(kColorHighlightText);
inline constexpr Colour kAsIs{};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const Rect&) const = default;
};

struct Control {
  std::string_view name;  // "Check1", "Command3", ...
  Kind kind;
  std::string_view caption;  // for a picture: none, the window supplies the image
  Rect twips;
  int tab_index;  // -1: takes no part in the tab order
  Font font;
  Colour back;
  Colour text;
  int id;  // the control's id in its window
};

// Twips to pixels at a DPI: 1440 twips make an inch, rounded to the nearest
// pixel; at 96 DPI this is twips / 15.
int TwipsToPixels(int twips, int dpi);
Rect ToPixels(const Rect& twips, int dpi);

// The font's height in pixels (negative, as LOGFONT wants a character
// height) at a DPI, to the nearest pixel and an exact half down.
int FontHeight(const Font& font, int dpi);

// Faces to try, best first, for a face the system may lack; the requested
// face itself comes first.
std::vector<std::string_view> FaceCandidates(std::string_view face);

// The parts of control `index` (in its own pixel coordinates) that other
// controls cover. Where two boxes overlap, the one that starts further right
// lies in front (a button at the end of a row, the right of two columns), and
// of two that start at the same column the later one in the table; the one in
// front takes the clicks there.
std::vector<Rect> CoveredParts(std::span<const Control> controls, std::size_t index, int dpi);

// The id `step` places from `id` in `order`, wrapping around at either end;
// nullopt when `id` is not in `order`.
std::optional<int> NextInOrder(std::span<const int> order, int id, int step);

// The control with this name, or nullptr.
const Control* Find(std::span<const Control> controls, std::string_view name);

}  // namespace quorvel::layout
