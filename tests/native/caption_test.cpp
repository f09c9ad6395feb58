// The caption painter's decisions and geometry, with the numbers the caption is drawn to.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "caption/caption_geometry.h"
#include "caption/caption_rules.h"

namespace quorvel::caption {
namespace {

TEST(CaptionGradient, StepsBeforeEachBandAndRoundsHalvesToEven) {
  const Colours active = CaptionColours(true), inactive = CaptionColours(false);
  const std::tuple<Colours, int, std::vector<std::uint32_t>> cases[] = {
      {active, 2, {0x00FF8080, 0x00FFFFFF}},  // 127.5 goes to 128
      {active, 4, {0x00FF4040, 0x00FF8080, 0x00FFBFBF, 0x00FFFFFF}},
      {inactive, 6, {0xCACACA, 0xD5D5D5, 0xE0E0E0, 0xEAEAEA, 0xF4F4F4, 0xFFFFFF}},
      {{0x0000FF00, 0x000000FF}, 1, {0x000000FF}},  // channels fall as well as rise
      {active, 0, {}}};
  for (const auto& [colours, count, bands] : cases)
    EXPECT_EQ(GradientBands(colours.start, colours.end, count), bands) << count;
}

// S = 18, H = 19, and F = 4 for either kind of frame unless given.
CaptionInput Window(int width, std::uint32_t style, int frame = 4, bool icon = false,
                    bool zoomed = false) {
  return {18, 19, width, style, frame, frame, icon, zoomed};
}

std::string Horizontal(const Box& box) {
  return std::to_string(box.left) + ".." + std::to_string(box.right);
}

// "F W N B E T | the first, second and last band | title | copy | excluded | rows", all but the
// first six as left..right; rows are the bands' top..bottom.
std::string Summary(const CaptionLayout& layout) {
  std::ostringstream text;
  text << "F" << layout.frame << " W" << layout.caption_right << " N" << layout.band_count << " B"
       << layout.band_width << " E" << layout.last_band_right << " T" << layout.band_end << " | "
       << Horizontal(layout.bands.front()) << " " << Horizontal(layout.bands[1]) << " "
       << Horizontal(layout.bands.back()) << " | " << Horizontal(layout.title) << " | "
       << Horizontal(layout.copied) << " | " << Horizontal(layout.excluded) << " | "
       << layout.bands[0].top << ".." << layout.bands[0].bottom;
  return text.str();
}

// The bands run from F down to F + H - 1.
TEST(CaptionGeometry, DerivedQuantitiesAndAreas) {
  const std::pair<CaptionInput, std::string> cases[] = {
      {Window(300, kWsSysMenu),
       "F4 W296 N37 B8 E296 T304 | 4..12 12..20 292..296 | 6..294 | 4..296 | 4..296 | 4..22"},
      {Window(300, kWsSysMenu | kDsModalFrame, 3),
       "F3 W297 N37 B8 E297 T305 | 3..11 11..19 291..297 | 5..295 | 3..297 | 3..297 | 3..21"},
      // Fewer than eight bands are wider than 8; the copy runs B - 8 past E.
      {Window(67, kWsSysMenu),
       "F4 W63 N7 B9 E63 T72 | 4..13 13..22 58..63 | 6..62 | 4..64 | 4..63 | 4..22"},
      // An icon moves the title's start from F + 2 to F + S + 4.
      {Window(300, kWsSysMenu, 4, true),
       "F4 W296 N37 B8 E296 T304 | 4..12 12..20 292..296 | 26..294 | 4..296 | 4..296 | 4..22"}};
  for (const auto& [input, summary] : cases) {
    const auto layout = LayOutCaption(input);
    ASSERT_TRUE(layout);
    EXPECT_EQ(Summary(*layout), summary);
    EXPECT_EQ(layout->icon, input.has_icon ? std::optional<Box>({5, 5, 21, 21}) : std::nullopt);
  }
}

TEST(CaptionGeometry, ButtonsFollowTheStyleAndTheZoom) {
  const std::uint32_t both = kWsSysMenu | kWsMaximizeBox | kWsMinimizeBox;
  const unsigned off = kButtonInactive;
  const std::tuple<std::uint32_t, bool, std::vector<unsigned>> cases[] = {
      {kWsMaximizeBox | kWsMinimizeBox, false, {}},
      {kWsSysMenu, false, {kButtonClose}},
      {both, false, {kButtonClose, kButtonMax, kButtonMin}},
      {both, true, {kButtonClose, kButtonRestore, kButtonMin}},
      {kWsSysMenu | kWsMaximizeBox, false, {kButtonClose, kButtonMax, kButtonMin | off}},
      {kWsSysMenu | kWsMinimizeBox, false, {kButtonClose, kButtonMax | off, kButtonMin}}};
  for (const auto& [style, zoomed, states] : cases)
    EXPECT_TRUE(std::ranges::equal(LayOutCaption(Window(300, style, 4, false, zoomed))->buttons,
                                   states, {}, &Button::state))
        << std::hex << style << " zoomed " << zoomed;
  EXPECT_EQ(LayOutCaption(Window(300, both))->buttons,
            (std::vector<Button>{{{278, 6, 294, 20}, kButtonClose},
                                 {{260, 6, 276, 20}, kButtonMax},
                                 {{244, 6, 260, 20}, kButtonMin}}));
}

// Nothing lies outside the memory bitmap, as wide as the window and 50
// pixels high, or as high as a taller caption.
TEST(CaptionGeometry, EverythingStaysInsideTheBitmap) {
  for (const CaptionInput& input :
       {Window(19, kWsSysMenu), CaptionInput{18, 60, 300, kWsSysMenu, 4, 4}}) {
    const int height = BitmapHeight(input);
    EXPECT_EQ(height, std::max(50, 4 + input.caption_height - 1));
    const auto layout = LayOutCaption(input);
    ASSERT_TRUE(layout);
    std::vector<Box> boxes = layout->bands;
    boxes.insert(boxes.end(), {layout->copied, layout->title});
    for (const Box& box : boxes)
      EXPECT_TRUE(box.left >= 0 && box.right <= input.window_width && box.bottom <= height)
          << input.window_width << ": " << Horizontal(box) << " to " << box.bottom;
  }
  EXPECT_EQ(LayOutCaption(Window(19, kWsSysMenu))->band_width, 15);  // N = 1
  EXPECT_FALSE(LayOutCaption(Window(11, kWsSysMenu))) << "too narrow for one band";
}

TEST(CaptionTitle, LeadingBlanksGoTrailingStayAtMost254) {
  EXPECT_EQ(TitleToDraw(L"  About Quorvel... "), L"About Quorvel... ");
  EXPECT_EQ(TitleToDraw(L"   "), L"");
  EXPECT_EQ(TitleToDraw(std::wstring(300, L'x')).size(), 254u);
}

TEST(CaptionRules, MessageTableAndSizingCursorsByTheSignedHitTestCode) {
  using enum Handling;
  const std::pair<Handling, std::vector<unsigned>> groups[] = {
      {kRepaintThenPassOn, {kWmSize}},
      {kActivationPass, {kWmKillFocus, kWmMouseActivate, kWmNcActivate, kWmMdiActivate}},
      {kFramePass,
       {kWmSetText, kWmNcPaint, kWmNcLButtonDown, kWmNcRButtonDown, kWmSysCommand,
        kWmInitMenuPopup}},
      {kSizingCursor, {kWmSetCursor}},
      {kPassOn, {0x007F, 0x0006}}};  // WM_GETICON, WM_ACTIVATE
  for (const auto& [handling, messages] : groups)
    for (unsigned message : messages)
      EXPECT_EQ(HandlingOf(message), handling) << std::hex << message;
  // 1 is HTCLIENT, 0xFFFE HTERROR (-2); the high word of 0x0201000C is the mouse message.
  std::string cursors;
  for (std::intptr_t code : {1, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0xFFFE, 0x0201000C}) {
    const std::optional<int> cursor = SizingCursor(code);
    cursors += (cursor ? std::to_string(*cursor) : "none") + " ";
  }
  EXPECT_EQ(cursors, "none none 32644 32644 32645 32642 32643 32645 32643 32642 none none 32645 ");
}

TEST(CaptionRules, ActivityOfAPassAndWhatFollowsAFramePass) {
  const WindowFacts top_level_active{false, false, false, true};
  const std::tuple<unsigned, std::uintptr_t, WindowFacts, bool> cases[] = {
      {kWmKillFocus, 0, {true, false, false, true}, false},
      {kWmNcActivate, 1, {}, true},
      {kWmNcActivate, 0, top_level_active, false},
      {kWmMouseActivate, 0, {true, true, true, true}, false},  // wParam is the window itself
      {kWmMdiActivate, 0, {true, false, true, false}, true},
      {kWmMouseActivate, 0, top_level_active, true},
      {kWmMouseActivate, 0, {}, false}};
  for (const auto& [message, wparam, facts, active] : cases)
    EXPECT_EQ(ActiveForActivationPass(message, wparam, facts), active) << std::hex << message;
  EXPECT_TRUE(ActiveForFramePass({true, false, true, false}));
  EXPECT_TRUE(ActiveForFramePass(top_level_active));
  EXPECT_FALSE(ActiveForFramePass({true, true, false, false}));
  using enum FollowUp;
  const std::tuple<unsigned, std::uintptr_t, bool, FollowUp> follow_ups[] = {
      {kWmNcLButtonDown, kHtCaption, false, kStartMove},
      {kWmNcLButtonDown, kHtCaption, true, kKeepResult},
      {kWmNcLButtonDown, kHtSysMenu, false, kKeepResult},
      {kWmNcLButtonDown, 11 /* right border */, false, kPassOn},
      {kWmNcRButtonDown, kHtCaption, false, kKeepResult},
      {kWmSysCommand, kScMouseMenu, false, kKeepResult},
      {kWmSysCommand, kScMouseMenu + 1, false, kPassOn},
      {kWmSysCommand, 0xF060 /* SC_CLOSE */, false, kPassOn},
      {kWmInitMenuPopup, 0, false, kKeepResult}};
  for (const auto& [message, wparam, zoomed, follow_up] : follow_ups)
    EXPECT_EQ(FollowUpOf(message, wparam, zoomed), follow_up)
        << std::hex << message << " " << wparam;
}

}  // namespace
}  // namespace quorvel::caption
