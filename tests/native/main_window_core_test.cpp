// The main window's portable core: its control table and pixel arithmetic,
// the start-up restore, the option groups, the file list and the backdrop.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/backdrop.h"
#include "layout/form_layout.h"
#include "launcher/image_files.h"
#include "launcher/launch_command.h"
#include "launcher/main_layout.h"
#include "launcher/main_state.h"

namespace quorvel::launcher {
namespace {

using layout::Colour;
using layout::Font;
using layout::Kind;
using layout::Rect;
using Names = std::vector<std::string_view>;

constexpr Font kCheckFont{"Times New Roman", 975};  // 9.75 pt, not 10
constexpr Font kHeadingFont{"Times New Roman", 1200, true};
constexpr Font kTerminalFont{"Terminal", 900, false, false, true};
constexpr Font kWindowFont{"MS Sans Serif", 825};
constexpr Font kNoFont{};

constexpr Colour kBlue = Colour::Rgb(0x0000FF);
constexpr Colour kWhite = Colour::Rgb(0xFFFFFF);
constexpr Colour kYellow = Colour::Rgb(0xFFFF00);
constexpr Colour kWindow = Colour::System(5);
constexpr Colour kWindowText = Colour::System(8);
constexpr Colour kHighlightText = Colour::System(14);
constexpr Colour kAsIs{};

struct Row {
  std::string_view name;
  Kind kind;
  std::string_view caption;
  Rect pixels;  // at 96 DPI, apart from the twips so that a mistyped twips value shows
  int tab;
  Font font;
  Colour back;
  Colour text;
};

// The main window's controls in tab order.
// clang-format off
const Row kRows[] = {
    {"Label1", Kind::kLabel, "Load ROM : Files Encountered", {8, 48, 225, 33}, 0, kHeadingFont, kBlue, kHighlightText},
    {"File1", Kind::kFileList, "", {8, 80, 225, 276}, 1, kCheckFont, kWindow, kWindowText},
    {"Label2", Kind::kLabel, "Video Options", {240, 48, 161, 33}, 2, kHeadingFont, kBlue, kWhite},
    {"Check1", Kind::kCheckBox, "Scanlines", {240, 80, 161, 33}, 3, kCheckFont, kWindow, kWindowText},
    {"Check2", Kind::kCheckBox, "Blur - Req. 16bit Color", {240, 112, 161, 25}, 4, kCheckFont, kWindow, kWindowText},
    {"Check4", Kind::kCheckBox, "Scaled Display", {240, 136, 161, 33}, 5, kCheckFont, kWindow, kWindowText},
    {"Label3", Kind::kLabel, "Controller ", {240, 240, 161, 25}, 6, kHeadingFont, kBlue, kHighlightText},
    {"Option1", Kind::kOptionButton, "Keyboard", {240, 264, 161, 25}, 7, kCheckFont, kWindow, kWindowText},
    {"Option2", Kind::kOptionButton, "Joystick", {240, 288, 161, 25}, 8, kCheckFont, kWindow, kWindowText},
    {"Label4", Kind::kLabel, "Sound Options", {424, 48, 153, 33}, 9, kHeadingFont, kBlue, kHighlightText},
    {"Check5", Kind::kCheckBox, "Enabled", {424, 80, 153, 25}, 10, kCheckFont, kWindow, kWindowText},
    {"Label5", Kind::kLabel, "Sound Rate", {424, 120, 153, 25}, 11, kHeadingFont, kBlue, kHighlightText},
    {"Option3", Kind::kOptionButton, "11.025Hz", {424, 168, 153, 25}, 12, kCheckFont, kWindow, kWindowText},
    {"Option4", Kind::kOptionButton, "22.050Hz", {424, 192, 153, 25}, 13, kCheckFont, kWindow, kWindowText},
    {"Command1", Kind::kButton, "Load and Run", {8, 368, 225, 33}, 14, kTerminalFont, kYellow, kAsIs},
    {"Command2", Kind::kButton, "About", {400, 416, 89, 25}, 15, kWindowFont, kYellow, kAsIs},
    {"Check6", Kind::kCheckBox, "Expand - 8 Bit Color Only", {240, 160, 161, 41}, 16, kCheckFont, kWindow, kWindowText},
    {"Command3", Kind::kButton, "...", {360, 296, 41, 25}, 17, kCheckFont, kYellow, kAsIs},
    {"Option5", Kind::kOptionButton, "8.000Hz", {424, 144, 153, 25}, 18, kCheckFont, kWindow, kWindowText},
    {"Option6", Kind::kOptionButton, "44.100Hz", {424, 216, 153, 33}, 19, kCheckFont, kWindow, kWindowText},
    {"Label6", Kind::kLabel, "Other", {424, 272, 153, 25}, 20, kHeadingFont, kBlue, kHighlightText},
    {"Check7", Kind::kCheckBox, "No MMX Instructions", {424, 296, 153, 25}, 21, kCheckFont, kWindow, kWindowText},
    {"Check8", Kind::kCheckBox, "VSync", {424, 320, 153, 33}, 22, kCheckFont, kWindow, kWindowText},
    {"Check9", Kind::kCheckBox, "Speed Throttle", {424, 352, 153, 33}, 23, kCheckFont, kWindow, kWindowText},
    {"Command4", Kind::kButton, "Select Resolution...", {240, 200, 161, 25}, 24, kWindowFont, kYellow, kAsIs},
    {"Image1", Kind::kPicture, "", {496, 416, 80, 30}, -1, kNoFont, kAsIs, kAsIs},
};
// clang-format on

const layout::Control& Named(std::string_view name) {
  const layout::Control* control = layout::Find(kMainControls, name);
  if (control == nullptr) throw std::invalid_argument("no control " + std::string(name));
  return *control;
}

// The parts of a control that controls in front of it cover, at a DPI.
std::vector<Rect> Covered(std::string_view name, int dpi) {
  return layout::CoveredParts(kMainControls, &Named(name) - kMainControls.data(), dpi);
}

TEST(MainLayout, ControlsInTabOrderWithTheirLooksAndPixelBoxesAtEveryDpi) {
  EXPECT_EQ(kMainCaption, "Quorvel - Korvax Launcher");
  EXPECT_EQ(kJoystickButtonTip, "Select Joystick Type");
  EXPECT_EQ(kFilePattern, "*.SMS;*.GG");
  EXPECT_EQ(layout::TwipsToPixels(kMainClientWidthTwips, 96), 582);
  EXPECT_EQ(layout::TwipsToPixels(kMainClientHeightTwips, 96), 446);
  ASSERT_EQ(kMainControls.size(), std::size(kRows));
  std::set<int> ids;
  for (std::size_t i = 0; i < kMainControls.size(); ++i) {
    const layout::Control& control = kMainControls[i];
    const Row& row = kRows[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(std::tie(control.name, control.kind, control.caption, control.tab_index),
              std::tie(row.name, row.kind, row.caption, row.tab));
    EXPECT_EQ(std::tie(control.font, control.back, control.text),
              std::tie(row.font, row.back, row.text));
    EXPECT_TRUE(ids.insert(control.id).second) << "id " << control.id << " used twice";
    EXPECT_EQ(layout::Find(kMainControls, row.name), &control);

    const Rect px = row.pixels;
    EXPECT_EQ(control.twips, (Rect{px.left * 15, px.top * 15, px.width * 15, px.height * 15}));
    EXPECT_EQ(layout::ToPixels(control.twips, 96), px);
    EXPECT_EQ(layout::ToPixels(control.twips, 192),
              (Rect{2 * px.left, 2 * px.top, 2 * px.width, 2 * px.height}));
    const Rect big = layout::ToPixels(control.twips, 144);  // 1.5 times, to the nearest pixel
    const int got[] = {big.left, big.top, big.width, big.height};
    const int at96[] = {px.left, px.top, px.width, px.height};
    for (int k = 0; k < 4; ++k) EXPECT_LE(std::abs(got[k] - 1.5 * at96[k]), 0.5) << at96[k];
  }
  EXPECT_EQ(layout::Find(kMainControls, "Check3"), nullptr);  // the check boxes skip 3
  EXPECT_EQ(layout::TwipsToPixels(1433, 96), 96);  // twips off the grid: the nearest pixel
  EXPECT_EQ(layout::TwipsToPixels(1427, 96), 95);
  EXPECT_EQ(Named("Image1").twips.bottom(), kMainClientHeightTwips);  // the logo sits on the foot
}

TEST(FormLayout, FontHeightsAndFaceFallbacks) {
  EXPECT_EQ(layout::FontHeight(kCheckFont, 96), -13);  // points * dpi / 72
  EXPECT_EQ(layout::FontHeight(kWindowFont, 96), -11);
  EXPECT_EQ(layout::FontHeight(kCheckFont, 192), -26);
  EXPECT_EQ(layout::FontHeight(kWindowFont, 120), -14);  // 13.75 to the nearest pixel
  EXPECT_EQ(layout::FontHeight(kCheckFont, 120), -16);   // 16.25
  for (std::string_view face : {"Times New Roman", "Terminal", "MS Sans Serif"}) {
    SCOPED_TRACE(face);
    const std::vector<std::string_view> faces = layout::FaceCandidates(face);
    ASSERT_GE(faces.size(), 2u) << "no stand-in for a face the system may lack";
    EXPECT_EQ(faces.front(), face);
    EXPECT_EQ(std::count(faces.begin(), faces.end(), face), 1);
  }
  EXPECT_EQ(layout::FaceCandidates("Quorvel Sans"), Names{"Quorvel Sans"});
}

TEST(FormLayout, ControlsInFrontTakeTheClicksWhereBoxesOverlap) {
  // Command3 (360,296 41x25) stands over the right end of Option2 (240,288 161x25).
  EXPECT_EQ(Covered("Option2", 96), (std::vector<Rect>{{120, 8, 41, 17}}));
  EXPECT_EQ(Covered("Option2", 192), (std::vector<Rect>{{240, 16, 82, 34}}));
  EXPECT_TRUE(Covered("Command3", 96).empty());
  // Check6 (240,160 161x41) starts in Check4's column, comes later and covers its foot.
  EXPECT_EQ(Covered("Check4", 96), (std::vector<Rect>{{0, 24, 161, 9}}));
  // Boxes that only touch along an edge cover nothing of each other.
  const layout::Control touching[] = {
      {"Left", Kind::kButton, "", {0, 0, 150, 150}, 0, kNoFont, kAsIs, kAsIs, 1},
      {"Right", Kind::kButton, "", {150, 0, 150, 150}, 1, kNoFont, kAsIs, kAsIs, 2},
      {"Below", Kind::kButton, "", {0, 150, 300, 150}, 2, kNoFont, kAsIs, kAsIs, 3},
  };
  EXPECT_TRUE(layout::CoveredParts(touching, 0, 96).empty());
  EXPECT_TRUE(layout::CoveredParts(touching, 1, 96).empty());
}

using Stored = std::map<std::pair<std::string, std::string>, std::string>;

MainState Restore(const Stored& stored, std::vector<std::string>* reads = nullptr) {
  return RestoredState([&](std::string_view section, std::string_view key) {
    if (reads != nullptr) reads->push_back(std::string(section) + "/" + std::string(key));
    const auto found = stored.find({std::string(section), std::string(key)});
    return found == stored.end() ? std::string() : found->second;
  });
}

// The checked boxes and selected buttons, by name, in table order.
Names OnControls(const MainState& state) {
  std::set<int> on;
  for (std::size_t i = 0; i < kFlagCount; ++i)
    if (state.options.flags[i]) on.insert(ControlIdOf(static_cast<Flag>(i)));
  if (state.options.rate) on.insert(RateControlId(*state.options.rate));
  Names names;
  for (const layout::Control& control : kMainControls)
    if (on.count(control.id) != 0) names.push_back(control.name);
  return names;
}

TEST(MainRestore, EachSettingTurnsOnItsOwnControl) {
  struct Case {
    std::string section, key, value, control;
  };
  const Case cases[] = {
      {"Video", "scanlines", "1", "Check1"},    {"Video", "blur", "1", "Check2"},
      {"Video", "scale", "1", "Check4"},        {"Video", "expand", "1", "Check6"},
      {"Controls", "keyboard", "1", "Option1"}, {"Controls", "joystick", "1", "Option2"},
      {"Sound", "enabled", "1", "Check5"},      {"Sound", "rate", "11025", "Option3"},
      {"Sound", "rate", "22050", "Option4"},    {"Sound", "rate", "8000", "Option5"},
      {"Sound", "rate", "44100", "Option6"},    {"Other", "nommx", "1", "Check7"},
      {"Other", "vsync", "1", "Check8"},        {"Other", "throttle", "1", "Check9"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.section + "/" + c.key + "=" + c.value);
    const MainState state = Restore({{{c.section, c.key}, c.value}});
    EXPECT_EQ(OnControls(state), Names{c.control});
    EXPECT_EQ(state.joystick_button_enabled, c.control != "Option1");
  }
}

TEST(MainRestore, ReadsEverySettingOnceInOrder) {
  std::vector<std::string> reads;
  Restore({}, &reads);
  EXPECT_EQ(reads, (std::vector<std::string>{"Video/scanlines", "Video/blur", "Video/expand",
                                             "Video/scale", "Controls/keyboard",
                                             "Controls/joystick", "Sound/enabled", "Sound/rate",
                                             "Other/nommx", "Other/vsync", "Other/throttle"}));
}

TEST(MainRestore, OnlyExactValuesCount) {
  // "" is also what a setting never stored reads as: all cleared, Command3 enabled.
  for (std::string_view value : {" 1", "01", "1 ", "true", "-1", "2", "0", ""}) {
    SCOPED_TRACE("\"" + std::string(value) + "\"");
    Stored stored;
    for (const FlagOption& option : kFlagOptions)
      stored[{std::string(option.section), std::string(option.key)}] = std::string(value);
    const MainState state = Restore(stored);
    EXPECT_TRUE(OnControls(state).empty());
    EXPECT_TRUE(state.joystick_button_enabled);
  }
  for (std::string_view rate : {"0", "22051", "22050 ", " 8000", "8000.0", "44.100", "11.025Hz"})
    EXPECT_FALSE(Restore({{{"Sound", "rate"}, std::string(rate)}}).options.rate) << rate;
  // Both controller keys stored: the joystick comes second and wins.
  const MainState both =
      Restore({{{"Controls", "keyboard"}, "1"}, {{"Controls", "joystick"}, "1"}});
  EXPECT_EQ(OnControls(both), Names{"Option2"});
  EXPECT_TRUE(both.joystick_button_enabled);
}

std::size_t RateIndex(std::string_view rate) {
  for (std::size_t i = 0; i < kRateOptions.size(); ++i)
    if (kRateOptions[i].rate == rate) return i;
  throw std::invalid_argument("no rate " + std::string(rate));
}

TEST(OptionGroups, SelectingClearsOnlyItsOwnGroupAndTheControllerSetsCommand3) {
  MainState state;
  state.options[Flag::kSound] = true;
  SelectController(state, Flag::kJoystick);
  SelectRate(state, RateIndex("22050"));
  EXPECT_EQ(OnControls(state), (Names{"Option2", "Check5", "Option4"}));
  EXPECT_TRUE(state.joystick_button_enabled);
  SelectController(state, Flag::kKeyboard);
  SelectRate(state, RateIndex("44100"));
  EXPECT_EQ(OnControls(state), (Names{"Option1", "Check5", "Option6"}));
  EXPECT_FALSE(state.joystick_button_enabled);
  SelectController(state, Flag::kJoystick);
  EXPECT_EQ(OnControls(state), (Names{"Option2", "Check5", "Option6"}));
  EXPECT_TRUE(state.joystick_button_enabled);
}

TEST(OptionGroups, ArrowKeysWalkEachGroupInScreenOrderAndWrap) {
  for (const Names& group : {Names{"Option5", "Option3", "Option4", "Option6"},  // top to bottom
                             Names{"Option1", "Option2"}}) {
    const std::size_t n = group.size();
    for (std::size_t i = 0; i < n; ++i) {
      EXPECT_EQ(NextInGroup(Named(group[i]).id, +1), Named(group[(i + 1) % n]).id) << group[i];
      EXPECT_EQ(NextInGroup(Named(group[i]).id, -1), Named(group[(i + n - 1) % n]).id) << group[i];
    }
  }
  for (std::string_view name : {"Check1", "Command3", "Label5", "File1", "Image1"})
    EXPECT_FALSE(NextInGroup(Named(name).id, +1).has_value()) << name;
}

TEST(ImageFiles, ListsMatchingPlainFilesAlphabeticallyInAnyCase) {
  std::vector<DirectoryEntry> entries = {
      {"Folder.sms", true}, {"secret.sms", false, true}, {"boot.gg", false, false, true}};
  for (const char* name :
       {"Zeta.SMS", "alpha.sms", "x y.GG", "readme.txt", "Beta.Gg", "x.smsx", "sms", "gg", "asms",
        "a.gg.bak", "a.sm", "", "gamma.gG", "Mixed.Sms", ".sms"})
    entries.push_back({name});
  EXPECT_EQ(ImageFiles(entries),
            (std::vector<std::string>{".sms", "alpha.sms", "Beta.Gg", "gamma.gG", "Mixed.Sms",
                                      "x y.GG", "Zeta.SMS"}));
  EXPECT_TRUE(ImageFiles({}).empty());
}

TEST(ImageFiles, NamesEqualButForCaseKeepOneOrderWhateverTheDirectoryOrder) {
  const auto by_name = [](const DirectoryEntry& a, const DirectoryEntry& b) {
    return a.name < b.name;
  };
  std::vector<DirectoryEntry> entries = {{"A.gg"}, {"B.sms"}, {"a.GG"}, {"b.sms"}};  // sorted
  const std::vector<std::string> first = ImageFiles(entries);
  ASSERT_EQ(first.size(), 4u);
  EXPECT_EQ(std::set<std::string>(first.begin(), first.begin() + 2),
            (std::set<std::string>{"a.GG", "A.gg"}));
  while (std::next_permutation(entries.begin(), entries.end(), by_name))
    EXPECT_EQ(ImageFiles(entries), first);
}

constexpr std::uint32_t kGrid = 0xB5B5CE;

// The backdrop's colour at (x, y) at 96 DPI: a grey and a black column on the
// left, a black top row, grid lines every 32 pixels from x = 2 and y = 1, white
// elsewhere. The top-left pixel, where the column meets the row, is left open.
std::uint32_t Backdrop96(int x, int y) {
  if (x == 0) return 0x848484;
  if (x == 1 || y == 0) return 0x000000;
  const bool column = x <= 770 && (x - 2) % 32 == 0;
  const bool row = y <= 417 && (y - 1) % 32 == 0;
  return column || row ? kGrid : 0xFFFFFF;
}

// Paints the backdrop at a DPI that makes it `scale` times its 96 DPI size and
// compares it with the 96 DPI picture, each pixel grown to scale x scale.
void ExpectBackdrop(int dpi, int scale) {
  SCOPED_TRACE(std::to_string(dpi) + " DPI");
  constexpr std::uint32_t kUnpainted = 0xFF000000;
  const int width = 796 * scale, height = 446 * scale;
  std::vector<std::uint32_t> painted(static_cast<std::size_t>(width * height), kUnpainted);
  for (const Fill& fill : BackdropFills(dpi)) {
    const Rect r = fill.rect;
    ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right() <= width && r.bottom() <= height);
    for (int y = r.top; y < r.bottom(); ++y)
      std::fill_n(painted.begin() + y * width + r.left, r.width, fill.rgb);
  }
  EXPECT_EQ(std::count(painted.begin(), painted.end(), kUnpainted), 0);
  int wrong = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint32_t got = painted[y * width + x], want = Backdrop96(x / scale, y / scale);
      if ((x >= scale || y >= scale) && got != want && ++wrong <= 3)
        ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << std::hex << got << ", not "
                      << want;
    }
  EXPECT_EQ(wrong, 0);
}

TEST(Backdrop, GridAndSunkenEdgeAt96And192Dpi) {
  ExpectBackdrop(96, 1);
  ExpectBackdrop(192, 2);  // lines two pixels wide at twice the positions
}

}  // namespace
}  // namespace quorvel::launcher
