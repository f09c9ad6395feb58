// The main window's portable core: its control table and pixel arithmetic,
// the start-up restore, the option groups, the file list and the backdrop.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "launcher/backdrop.h"
#include "launcher/form_layout.h"
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
  Rect pixels;  // left, top, width, height at 96 DPI
  int tab;
  Font font;
  Colour back;
  Colour text;
};

// The main window's controls in tab order. The file list shows no caption; its
// pattern is kFilePattern.
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

std::size_t IndexOf(std::string_view name) {
  const layout::Control* control = layout::Find(kMainControls, name);
  if (control == nullptr) {
    ADD_FAILURE() << "no control " << name;
    return 0;
  }
  return static_cast<std::size_t>(control - kMainControls.data());
}

int IdOf(std::string_view name) { return kMainControls[IndexOf(name)].id; }

const layout::Control* ById(int id) {
  for (const layout::Control& control : kMainControls)
    if (control.id == id) return &control;
  return nullptr;
}

TEST(MainLayout, ControlsInTabOrderWithCaptionsFontsAndColours) {
  EXPECT_EQ(kMainCaption, "Quorvel - Korvax Launcher");
  EXPECT_EQ(kJoystickButtonTip, "Select Joystick Type");
  EXPECT_EQ(kFilePattern, "*.SMS;*.GG");
  ASSERT_EQ(kMainControls.size(), std::size(kRows));
  std::set<int> ids;
  for (std::size_t i = 0; i < kMainControls.size(); ++i) {
    const layout::Control& control = kMainControls[i];
    const Row& row = kRows[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(control.name, row.name);
    EXPECT_EQ(control.kind, row.kind);
    EXPECT_EQ(control.caption, row.caption);
    EXPECT_EQ(control.tab_index, row.tab);
    EXPECT_EQ(control.font, row.font);
    EXPECT_EQ(control.back, row.back);
    EXPECT_EQ(control.text, row.text);
    EXPECT_TRUE(ids.insert(control.id).second) << "id " << control.id << " used twice";
  }
}

TEST(MainLayout, BoxesInPixelsAtEveryDpi) {
  EXPECT_EQ(layout::TwipsToPixels(kMainClientWidthTwips, 96), 582);
  EXPECT_EQ(layout::TwipsToPixels(kMainClientHeightTwips, 96), 446);
  for (std::size_t i = 0; i < kMainControls.size(); ++i) {
    const Rect twips = kMainControls[i].twips;
    const Rect px = kRows[i].pixels;
    SCOPED_TRACE(kRows[i].name);
    EXPECT_EQ(twips, (Rect{px.left * 15, px.top * 15, px.width * 15, px.height * 15}));
    EXPECT_EQ(layout::ToPixels(twips, 96), px);
    EXPECT_EQ(layout::ToPixels(twips, 192),
              (Rect{2 * px.left, 2 * px.top, 2 * px.width, 2 * px.height}));
    // At 144 DPI every value is one and a half times as large, to the nearest pixel.
    const Rect big = layout::ToPixels(twips, 144);
    for (const auto& [got, at96] : {std::pair{big.left, px.left},
                                    {big.top, px.top},
                                    {big.width, px.width},
                                    {big.height, px.height}})
      EXPECT_LE(std::abs(got - 1.5 * at96), 0.5) << at96 << " px at 96 DPI became " << got;
  }
  // Twips off the pixel grid go to the nearest pixel.
  EXPECT_EQ(layout::TwipsToPixels(1433, 96), 96);
  EXPECT_EQ(layout::TwipsToPixels(1427, 96), 95);
  // The logo sits on the bottom edge of the client area.
  EXPECT_EQ(kMainControls[IndexOf("Image1")].twips.bottom(), kMainClientHeightTwips);
}

TEST(FormLayout, FontHeightsFacesAndLookup) {
  // Character heights: points * dpi / 72.
  EXPECT_EQ(layout::FontHeight(kCheckFont, 96), -13);
  EXPECT_EQ(layout::FontHeight(kHeadingFont, 96), -16);
  EXPECT_EQ(layout::FontHeight(kTerminalFont, 96), -12);
  EXPECT_EQ(layout::FontHeight(kWindowFont, 96), -11);
  EXPECT_EQ(layout::FontHeight(kCheckFont, 192), -26);
  EXPECT_EQ(layout::FontHeight(kWindowFont, 192), -22);
  EXPECT_EQ(layout::FontHeight(kWindowFont, 120), -14);  // 13.75 to the nearest pixel
  EXPECT_EQ(layout::FontHeight(kCheckFont, 120), -16);   // 16.25

  for (std::string_view face : {"Times New Roman", "Terminal", "MS Sans Serif"}) {
    SCOPED_TRACE(face);
    const std::vector<std::string_view> faces = layout::FaceCandidates(face);
    ASSERT_GE(faces.size(), 2u) << "no stand-in for a face the system may lack";
    EXPECT_EQ(faces.front(), face);
    EXPECT_EQ(std::count(faces.begin(), faces.end(), face), 1);
  }
  EXPECT_EQ(layout::FaceCandidates("Quorvel Sans"), std::vector<std::string_view>{"Quorvel Sans"});

  ASSERT_NE(layout::Find(kMainControls, "Command3"), nullptr);
  EXPECT_EQ(layout::Find(kMainControls, "Command3")->caption, "...");
  EXPECT_EQ(layout::Find(kMainControls, "Check3"), nullptr);  // the check boxes skip 3
  EXPECT_EQ(layout::Find(kMainControls, ""), nullptr);
}

TEST(FormLayout, LaterControlsTakeTheClicksWhereTheyOverlap) {
  // Command3 stands over the right end of the Joystick row.
  const Rect option2{240, 288, 161, 25};
  const Rect command3{360, 296, 41, 25};
  const Rect covered{command3.left - option2.left, command3.top - option2.top,
                     option2.right() - command3.left, option2.bottom() - command3.top};
  // Option1, which touches Option2's top row, comes earlier and lies behind it.
  EXPECT_EQ(layout::CoveredParts(kMainControls, IndexOf("Option2"), 96),
            std::vector<Rect>{covered});
  const Rect doubled{2 * covered.left, 2 * covered.top, 2 * covered.width, 2 * covered.height};
  EXPECT_EQ(layout::CoveredParts(kMainControls, IndexOf("Option2"), 192),
            std::vector<Rect>{doubled});
  EXPECT_TRUE(layout::CoveredParts(kMainControls, IndexOf("Command3"), 96).empty());

  // Check6 (240,160 161x41) comes after Check4 (240,136 161x33) and covers its foot.
  const Rect check4{240, 136, 161, 33};
  const Rect check6{240, 160, 161, 41};
  const Rect foot{0, check6.top - check4.top, 161, check4.bottom() - check6.top};
  EXPECT_EQ(layout::CoveredParts(kMainControls, IndexOf("Check4"), 96), std::vector<Rect>{foot});
  EXPECT_TRUE(layout::CoveredParts(kMainControls, IndexOf("Image1"), 96).empty());

  // Boxes that only touch along an edge cover nothing of each other.
  const layout::Control pair[] = {
      {"Left", Kind::kButton, "", {0, 0, 150, 150}, 0, kNoFont, kAsIs, kAsIs, 1},
      {"Right", Kind::kButton, "", {150, 0, 150, 150}, 1, kNoFont, kAsIs, kAsIs, 2},
      {"Below", Kind::kButton, "", {0, 150, 300, 150}, 2, kNoFont, kAsIs, kAsIs, 3},
  };
  EXPECT_TRUE(layout::CoveredParts(pair, 0, 96).empty());
  EXPECT_TRUE(layout::CoveredParts(pair, 1, 96).empty());
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
std::vector<std::string_view> OnControls(const MainState& state) {
  std::set<int> on;
  for (std::size_t i = 0; i < kFlagCount; ++i)
    if (state.options.flags[i]) on.insert(ControlIdOf(static_cast<Flag>(i)));
  if (state.options.rate) on.insert(RateControlId(*state.options.rate));
  std::vector<std::string_view> names;
  for (const layout::Control& control : kMainControls)
    if (on.count(control.id) != 0) names.push_back(control.name);
  return names;
}

using Names = std::vector<std::string_view>;

TEST(MainRestore, EachSettingRestoresItsOwnControl) {
  struct Case {
    std::string_view section, key, value, control;
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
    SCOPED_TRACE(std::string(c.section) + "/" + std::string(c.key) + "=" + std::string(c.value));
    const MainState state =
        Restore({{{std::string(c.section), std::string(c.key)}, std::string(c.value)}});
    EXPECT_EQ(OnControls(state), Names{c.control});
    EXPECT_EQ(state.joystick_button_enabled, c.control != "Option1");
  }
}

TEST(MainRestore, ReadsEverySettingOnceInOrder) {
  std::vector<std::string> reads;
  const MainState state = Restore({}, &reads);
  EXPECT_EQ(reads, (std::vector<std::string>{"Video/scanlines", "Video/blur", "Video/expand",
                                             "Video/scale", "Controls/keyboard",
                                             "Controls/joystick", "Sound/enabled", "Sound/rate",
                                             "Other/nommx", "Other/vsync", "Other/throttle"}));
  // First start, nothing stored: all cleared, nothing selected, Command3 enabled.
  EXPECT_TRUE(OnControls(state).empty());
  EXPECT_FALSE(state.options.rate.has_value());
  EXPECT_TRUE(state.joystick_button_enabled);
}

TEST(MainRestore, ControllerAndRateEdgeCases) {
  MainState state = Restore({{{"Controls", "keyboard"}, "1"}, {{"Controls", "joystick"}, "0"}});
  EXPECT_EQ(OnControls(state), Names{"Option1"});
  EXPECT_FALSE(state.joystick_button_enabled);

  // Both stored: the joystick comes second and wins.
  state = Restore({{{"Controls", "keyboard"}, "1"}, {{"Controls", "joystick"}, "1"}});
  EXPECT_EQ(OnControls(state), Names{"Option2"});
  EXPECT_TRUE(state.joystick_button_enabled);

  state = Restore(
      {{{"Sound", "rate"}, "22050"}, {{"Controls", "joystick"}, "1"}, {{"Sound", "enabled"}, "1"}});
  EXPECT_EQ(OnControls(state), (Names{"Option2", "Check5", "Option4"}));
  EXPECT_TRUE(state.joystick_button_enabled);

  for (std::string_view rate :
       {"", "0", "22051", "22050 ", " 8000", "8000.0", "44.100", "11.025Hz"}) {
    SCOPED_TRACE("rate \"" + std::string(rate) + "\"");
    EXPECT_FALSE(Restore({{{"Sound", "rate"}, std::string(rate)}}).options.rate.has_value());
  }
}

TEST(MainRestore, OnlyAnExactOneTurnsAnOptionOn) {
  for (std::string_view value : {" 1", "01", "1 ", "true", "True", "yes", "-1", "2", "0", ""}) {
    SCOPED_TRACE("\"" + std::string(value) + "\"");
    Stored stored;
    for (const FlagOption& option : kFlagOptions)
      stored[{std::string(option.section), std::string(option.key)}] = std::string(value);
    const MainState state = Restore(stored);
    EXPECT_TRUE(OnControls(state).empty());
    EXPECT_TRUE(state.joystick_button_enabled);
  }
}

std::size_t RateIndex(std::string_view rate) {
  for (std::size_t i = 0; i < kRateOptions.size(); ++i)
    if (kRateOptions[i].rate == rate) return i;
  ADD_FAILURE() << "no rate " << rate;
  return 0;
}

TEST(OptionGroups, SelectingClearsOnlyItsOwnGroup) {
  MainState state;
  state.options[Flag::kSound] = true;
  SelectController(state, Flag::kJoystick);
  SelectRate(state, RateIndex("22050"));
  EXPECT_EQ(OnControls(state), (Names{"Option2", "Check5", "Option4"}));
  EXPECT_TRUE(state.joystick_button_enabled);

  SelectController(state, Flag::kKeyboard);
  EXPECT_EQ(OnControls(state), (Names{"Option1", "Check5", "Option4"}));
  EXPECT_FALSE(state.joystick_button_enabled);

  SelectRate(state, RateIndex("44100"));
  EXPECT_EQ(OnControls(state), (Names{"Option1", "Check5", "Option6"}));
  SelectController(state, Flag::kJoystick);
  SelectRate(state, RateIndex("8000"));
  EXPECT_EQ(OnControls(state), (Names{"Option2", "Check5", "Option5"}));
  EXPECT_TRUE(state.joystick_button_enabled);
}

TEST(OptionGroups, ArrowKeysWalkEachGroupInScreenOrderAndWrap) {
  const auto caption_after = [](std::string_view name, int step) -> std::string_view {
    const std::optional<int> next = NextInGroup(IdOf(name), step);
    if (!next) return "(none)";
    const layout::Control* control = ById(*next);
    return control == nullptr ? "(unknown id)" : control->caption;
  };
  EXPECT_EQ(caption_after("Option5", +1), "11.025Hz");
  EXPECT_EQ(caption_after("Option3", +1), "22.050Hz");
  EXPECT_EQ(caption_after("Option4", +1), "44.100Hz");
  EXPECT_EQ(caption_after("Option6", +1), "8.000Hz");
  EXPECT_EQ(caption_after("Option5", -1), "44.100Hz");
  EXPECT_EQ(caption_after("Option6", -1), "22.050Hz");
  EXPECT_EQ(caption_after("Option3", -1), "8.000Hz");
  EXPECT_EQ(caption_after("Option1", +1), "Joystick");
  EXPECT_EQ(caption_after("Option2", +1), "Keyboard");
  EXPECT_EQ(caption_after("Option1", -1), "Joystick");
  for (std::string_view name : {"Check1", "Command3", "Label5", "File1", "Image1"})
    EXPECT_FALSE(NextInGroup(IdOf(name), +1).has_value()) << name;
}

TEST(ImageFiles, ListsMatchingPlainFilesAlphabetically) {
  for (std::string_view name : {"a.SMS", "a.sms", "b.Gg", "c.gG", "x y.GG", ".sms"})
    EXPECT_TRUE(IsImageFileName(name)) << name;
  for (std::string_view name :
       {"x.smsx", "sms", "gg", "asms", "a.gg.bak", "a.sm", "a.g", "a.txt", ""})
    EXPECT_FALSE(IsImageFileName(name)) << name;

  std::vector<DirectoryEntry> entries = {
      {"Folder.sms", true}, {"secret.sms", false, true}, {"boot.gg", false, false, true}};
  for (const char* name : {"Zeta.SMS", "alpha.sms", "readme.txt", "Beta.GG", "x.smsx", "sms",
                           "gamma.gg", "a.gg.bak", "Mixed.Sms"})
    entries.push_back({name});
  EXPECT_EQ(ImageFiles(entries), (std::vector<std::string>{"alpha.sms", "Beta.GG", "gamma.gg",
                                                           "Mixed.Sms", "Zeta.SMS"}));

  EXPECT_TRUE(ImageFiles({}).empty());
  EXPECT_TRUE(ImageFiles({{"notes.txt"}, {"Roms", true}, {"hidden.gg", false, true}}).empty());
}

TEST(ImageFiles, NamesEqualButForCaseKeepOneOrder) {
  std::vector<DirectoryEntry> entries = {{"b.sms"}, {"B.sms"}, {"a.GG"}, {"A.gg"}};
  std::vector<std::size_t> order = {0, 1, 2, 3};
  std::optional<std::vector<std::string>> first;
  do {
    std::vector<DirectoryEntry> shuffled;
    for (std::size_t i : order) shuffled.push_back(entries[i]);
    const std::vector<std::string> listed = ImageFiles(shuffled);
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_TRUE((listed[0] == "a.GG" || listed[0] == "A.gg") &&
                (listed[1] == "a.GG" || listed[1] == "A.gg"));
    EXPECT_NE(listed[0], listed[1]);
    if (!first) first = listed;
    EXPECT_EQ(listed, *first) << "the order depends on the order of the directory";
  } while (std::next_permutation(order.begin(), order.end()));
}

constexpr std::uint32_t kGrid = 0xB5B5CE;
constexpr std::uint32_t kUnpainted = 0xFF000000;

struct Canvas {
  int width;
  int height;
  std::vector<std::uint32_t> pixels;

  Canvas(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h), kUnpainted) {}
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  void Paint(const std::vector<Fill>& fills) {
    for (const Fill& fill : fills) {
      const Rect r = fill.rect;
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right() <= width && r.bottom() <= height)
          << "fill sticks out: " << r.left << "," << r.top << " " << r.width << "x" << r.height;
      for (int y = std::max(0, r.top); y < std::min(height, r.bottom()); ++y)
        for (int x = std::max(0, r.left); x < std::min(width, r.right()); ++x)
          pixels[static_cast<std::size_t>(y * width + x)] = fill.rgb;
    }
  }
};

// The backdrop's colour at (x, y) at 96 DPI. The top-left pixel, where the
// grey column meets the black row, is left open.
std::uint32_t Backdrop96(int x, int y) {
  if (x == 0) return 0x848484;
  if (x == 1 || y == 0) return 0x000000;
  const bool column = x >= 2 && x <= 770 && (x - 2) % 32 == 0;
  const bool row = y >= 1 && y <= 417 && (y - 1) % 32 == 0;
  return column || row ? kGrid : 0xFFFFFF;
}

// Paints the backdrop at a DPI that makes it `scale` times its 96 DPI size and
// compares every pixel with the 96 DPI picture, each pixel scale x scale.
Canvas Painted(int dpi, int scale) {
  Canvas canvas(796 * scale, 446 * scale);
  canvas.Paint(BackdropFills(dpi));
  int wrong = 0;
  for (int y = 0; y < canvas.height; ++y) {
    for (int x = 0; x < canvas.width; ++x) {
      if (x < scale && y < scale) continue;
      const std::uint32_t expected = Backdrop96(x / scale, y / scale);
      if (canvas.At(x, y) != expected && ++wrong <= 5)
        ADD_FAILURE() << "pixel (" << x << "," << y << ") is " << std::hex << canvas.At(x, y)
                      << ", not " << expected;
    }
  }
  EXPECT_EQ(wrong, 0);
  return canvas;
}

TEST(Backdrop, GridAndSunkenEdgeAt96Dpi) {
  EXPECT_EQ(kBackdropWidth, 796);
  EXPECT_EQ(kBackdropHeight, layout::TwipsToPixels(kMainClientHeightTwips, 96));
  const Canvas canvas = Painted(96, 1);
  EXPECT_EQ(canvas.At(2, 100), kGrid);
  EXPECT_EQ(canvas.At(3, 100), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(770, 5), kGrid);
  EXPECT_EQ(canvas.At(771, 5), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(100, 417), kGrid);
  EXPECT_EQ(canvas.At(100, 418), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(0, 200), 0x848484u);
  EXPECT_EQ(canvas.At(1, 200), 0x000000u);
  EXPECT_EQ(canvas.At(100, 0), 0x000000u);
  int columns = 0;
  for (int x = 0; x < canvas.width; ++x) columns += canvas.At(x, 200) == kGrid;
  int rows = 0;
  for (int y = 0; y < canvas.height; ++y) rows += canvas.At(100, y) == kGrid;
  EXPECT_EQ(columns, 25);  // x = 2, 34, ... 770
  EXPECT_EQ(rows, 14);     // y = 1, 33, ... 417
  EXPECT_EQ(std::count(canvas.pixels.begin(), canvas.pixels.end(), kUnpainted), 0);
}

TEST(Backdrop, TwoPixelLinesAtDoublePositionsAt192Dpi) {
  const Canvas canvas = Painted(192, 2);
  EXPECT_EQ(canvas.At(1, 400), 0x848484u);
  EXPECT_EQ(canvas.At(3, 400), 0x000000u);
  EXPECT_EQ(canvas.At(4, 400), kGrid);
  EXPECT_EQ(canvas.At(5, 400), kGrid);
  EXPECT_EQ(canvas.At(6, 400), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(1541, 10), kGrid);
  EXPECT_EQ(canvas.At(1542, 10), 0xFFFFFFu);
  EXPECT_EQ(canvas.At(200, 1), 0x000000u);
  EXPECT_EQ(canvas.At(200, 3), kGrid);
  EXPECT_EQ(canvas.At(200, 836), 0xFFFFFFu);
}

}  // namespace
}  // namespace quorvel::launcher
