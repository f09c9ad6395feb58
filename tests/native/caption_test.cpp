// The caption painter's decisions and geometry, with the numbers the caption
// is drawn to.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "caption/caption_geometry.h"
#include "caption/caption_rules.h"

namespace quorvel::caption {
namespace {

std::uint32_t Grey(std::uint32_t level) { return level | level << 8 | level << 16; }

TEST(CaptionGradient, StepsBeforeEachBandAndRoundsHalvesToEven) {
  const Colours active = CaptionColours(true);
  const Colours inactive = CaptionColours(false);
  EXPECT_EQ(active, (Colours{0x00FF0000, 0x00FFFFFF}));
  EXPECT_EQ(inactive, (Colours{0x00C0C0C0, 0x00FFFFFF}));
  const std::tuple<Colours, int, std::vector<std::uint32_t>> cases[] = {
      {active, 2, {0x00FF8080, 0x00FFFFFF}},  // 127.5 goes to 128
      {active, 4, {0x00FF4040, 0x00FF8080, 0x00FFBFBF, 0x00FFFFFF}},
      {inactive, 6, {Grey(202), Grey(213), Grey(224), Grey(234), Grey(244), Grey(255)}},
      {{0x0000FF00, 0x000000FF}, 1, {0x000000FF}},  // channels fall as well as rise
      {active, 0, {}},
  };
  for (const auto& [colours, count, bands] : cases)
    EXPECT_EQ(GradientBands(colours.start, colours.end, count), bands) << count;
}

CaptionInput Window(int width, std::uint32_t style, int frame = 4, bool icon = false) {
  return {.button_width = 18,
          .caption_height = 19,
          .window_width = width,
          .style = style,
          .frame = frame,
          .dialog_frame = frame,
          .has_icon = icon};
}

std::string Horizontal(const Box& box) {
  return std::to_string(box.left) + ".." + std::to_string(box.right);
}

// The derived quantities and the horizontal extent of each area.
std::string Summary(const CaptionLayout& layout) {
  std::ostringstream text;
  text << "F=" << layout.frame << " W=" << layout.caption_right << " N=" << layout.band_count
       << " B=" << layout.band_width << " E=" << layout.last_band_right << " T=" << layout.band_end
       << " bands " << Horizontal(layout.bands.front()) << " " << Horizontal(layout.bands[1]) << " "
       << Horizontal(layout.bands.back()) << " title " << Horizontal(layout.title) << " copy "
       << Horizontal(layout.copied) << " excluded " << Horizontal(layout.excluded);
  return text.str();
}

TEST(CaptionGeometry, DerivedQuantitiesAndAreas) {
  const std::pair<CaptionInput, std::string> cases[] = {
      {Window(300, kWsSysMenu),
       "F=4 W=296 N=37 B=8 E=296 T=304 bands 4..12 12..20 292..296 title 6..294 copy 4..296 "
       "excluded 4..296"},
      {Window(300, kWsSysMenu | kDsModalFrame, 3),
       "F=3 W=297 N=37 B=8 E=297 T=305 bands 3..11 11..19 291..297 title 5..295 copy 3..297 "
       "excluded 3..297"},
      // Fewer than eight bands are wider than 8; the copy runs B - 8 past E.
      {Window(67, kWsSysMenu),
       "F=4 W=63 N=7 B=9 E=63 T=72 bands 4..13 13..22 58..63 title 6..62 copy 4..64 "
       "excluded 4..63"},
      // An icon moves the title's start from F + 2 to F + S + 4.
      {Window(300, kWsSysMenu, 4, true),
       "F=4 W=296 N=37 B=8 E=296 T=304 bands 4..12 12..20 292..296 title 26..294 copy 4..296 "
       "excluded 4..296"},
  };
  for (const auto& [input, summary] : cases) {
    const auto layout = LayOutCaption(input);
    ASSERT_TRUE(layout);
    EXPECT_EQ(Summary(*layout), summary);
    EXPECT_EQ(layout->bands[0].top, layout->frame);
    EXPECT_EQ(layout->bands[0].bottom, layout->frame + 18);  // F + H - 1
    EXPECT_EQ(layout->icon, input.has_icon ? std::optional<Box>({5, 5, 21, 21}) : std::nullopt);
  }
}

TEST(CaptionGeometry, ButtonsFollowTheStyleAndTheZoom) {
  const std::uint32_t both = kWsSysMenu | kWsMaximizeBox | kWsMinimizeBox;
  const std::tuple<std::uint32_t, bool, std::vector<unsigned>> cases[] = {
      {kWsMaximizeBox | kWsMinimizeBox, false, {}},
      {kWsSysMenu, false, {kButtonClose}},
      {both, false, {kButtonClose, kButtonMax, kButtonMin}},
      {both, true, {kButtonClose, kButtonRestore, kButtonMin}},
      {kWsSysMenu | kWsMaximizeBox,
       false,
       {kButtonClose, kButtonMax, kButtonMin | kButtonInactive}},
      {kWsSysMenu | kWsMinimizeBox,
       false,
       {kButtonClose, kButtonMax | kButtonInactive, kButtonMin}},
  };
  for (const auto& [style, zoomed, states] : cases) {
    CaptionInput input = Window(300, style);
    input.zoomed = zoomed;
    const auto layout = LayOutCaption(input);
    std::vector<unsigned> drawn;
    for (const Button& button : layout->buttons) drawn.push_back(button.state);
    EXPECT_EQ(drawn, states) << std::hex << style << " zoomed " << zoomed;
  }
  const auto buttons = LayOutCaption(Window(300, both))->buttons;
  EXPECT_EQ(buttons[0].box, (Box{278, 6, 294, 20}));
  EXPECT_EQ(buttons[1].box, (Box{260, 6, 276, 20}));
  EXPECT_EQ(buttons[2].box, (Box{244, 6, 260, 20}));
}

// Nothing lies outside the memory bitmap, as wide as the window and 50
// pixels high, or as high as a taller caption.
TEST(CaptionGeometry, EverythingStaysInsideTheBitmap) {
  CaptionInput tall = Window(300, kWsSysMenu);
  tall.caption_height = 60;
  for (const CaptionInput& input : {Window(19, kWsSysMenu), tall}) {
    const int height = BitmapHeight(input);
    EXPECT_EQ(height, std::max(50, 4 + input.caption_height - 1));
    const auto layout = LayOutCaption(input);
    ASSERT_TRUE(layout);
    std::vector<Box> boxes = layout->bands;
    boxes.insert(boxes.end(), {layout->copied, layout->title});
    for (const Box& box : boxes) {
      EXPECT_TRUE(box.left >= 0 && box.right <= input.window_width && box.bottom <= height)
          << input.window_width << ": " << Horizontal(box) << " to " << box.bottom;
    }
  }
  EXPECT_EQ(LayOutCaption(Window(19, kWsSysMenu))->band_width, 15);  // N = 1
  EXPECT_FALSE(LayOutCaption(Window(11, kWsSysMenu))) << "too narrow for one band";
}

TEST(CaptionTitle, LeadingBlanksGoTrailingStayAtMost254) {
  EXPECT_EQ(TitleToDraw(L"  About Quorvel... "), L"About Quorvel... ");
  EXPECT_EQ(TitleToDraw(L"   "), L"");
  EXPECT_EQ(TitleToDraw(std::wstring(300, L'x')).size(), 254u);
}

TEST(CaptionRules, MessageTable) {
  using enum Handling;
  const std::pair<unsigned, Handling> rows[] = {
      {kWmSize, kRepaintThenPassOn},
      {kWmKillFocus, kActivationPass},
      {kWmMouseActivate, kActivationPass},
      {kWmNcActivate, kActivationPass},
      {kWmMdiActivate, kActivationPass},
      {kWmSetText, kFramePass},
      {kWmNcPaint, kFramePass},
      {kWmNcLButtonDown, kFramePass},
      {kWmNcRButtonDown, kFramePass},
      {kWmSysCommand, kFramePass},
      {kWmInitMenuPopup, kFramePass},
      {kWmSetCursor, kSizingCursor},
      {0x007F /* WM_GETICON */, kPassOn},
      {0x0006 /* WM_ACTIVATE */, kPassOn},
  };
  for (const auto& [message, handling] : rows)
    EXPECT_EQ(HandlingOf(message), handling) << std::hex << message;
}

TEST(CaptionRules, ActivityOfAPass) {
  const WindowFacts top_level_active{false, false, false, true};
  const std::tuple<unsigned, std::uintptr_t, WindowFacts, bool> cases[] = {
      {kWmKillFocus, 0, {true, false, false, true}, false},
      {kWmNcActivate, 1, {}, true},
      {kWmNcActivate, 0, top_level_active, false},
      {kWmMouseActivate, 0, {true, true, true, true}, false},  // wParam is the window itself
      {kWmMdiActivate, 0, {true, false, true, false}, true},
      {kWmMouseActivate, 0, top_level_active, true},
      {kWmMouseActivate, 0, {}, false},
  };
  for (const auto& [message, wparam, facts, active] : cases)
    EXPECT_EQ(ActiveForActivationPass(message, wparam, facts), active) << std::hex << message;
  EXPECT_TRUE(ActiveForFramePass({true, false, true, false}));
  EXPECT_TRUE(ActiveForFramePass(top_level_active));
  EXPECT_FALSE(ActiveForFramePass({true, true, false, false}));
}

TEST(CaptionRules, WhatFollowsAFramePass) {
  using enum FollowUp;
  const std::tuple<unsigned, std::uintptr_t, bool, FollowUp> cases[] = {
      {kWmNcLButtonDown, kHtCaption, false, kStartMove},
      {kWmNcLButtonDown, kHtCaption, true, kKeepResult},
      {kWmNcLButtonDown, kHtSysMenu, false, kKeepResult},
      {kWmNcLButtonDown, 11 /* right border */, false, kPassOn},
      {kWmNcRButtonDown, kHtCaption, false, kKeepResult},
      {kWmSysCommand, kScMouseMenu, false, kKeepResult},
      {kWmSysCommand, kScMouseMenu + 1, false, kPassOn},
      {kWmSysCommand, 0xF060 /* SC_CLOSE */, false, kPassOn},
      {kWmInitMenuPopup, 0, false, kKeepResult},
  };
  for (const auto& [message, wparam, zoomed, follow_up] : cases)
    EXPECT_EQ(FollowUpOf(message, wparam, zoomed), follow_up)
        << std::hex << message << " " << wparam;
}

TEST(CaptionRules, SizingCursorsByTheSignedHitTestCode) {
  const std::pair<std::intptr_t, std::optional<int>> rows[] = {
      {10, 32644},         {11, 32644},
      {12, 32645},         {15, 32645},
      {13, 32642},         {17, 32642},
      {14, 32643},         {16, 32643},
      {0x0201000C, 32645},                          // the high word is the mouse message
      {1, std::nullopt},   {0xFFFE, std::nullopt},  // HTCLIENT, HTERROR (-2)
      {9, std::nullopt},   {18, std::nullopt},
  };
  for (const auto& [lparam, cursor] : rows) EXPECT_EQ(SizingCursor(lparam), cursor) << lparam;
}

}  // namespace
}  // namespace quorvel::caption
