// The windows' layouts as data, the pixel arithmetic they share, the file list and the backdrop.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <tuple>

#include "dialogs/dialog_layouts.h"
#include "launcher/backdrop.h"
#include "launcher/image_files.h"
#include "launcher/main_layout.h"
#include "launcher/main_state.h"

namespace quorvel::launcher {
namespace {

using namespace layout;
using Rects = std::vector<Rect>;
using Form = std::span<const Control>;

constexpr Colour kBlue = Colour::Rgb(0x0000FF);
const Form kMain = kMainControls, kForm3 = dialogs::kJoystickTypeForm.controls,
           kForm4 = dialogs::kResolutionForm.controls;

const Control& Named(std::string_view name, Form form = kMain) {
  if (const Control* control = Find(form, name)) return *control;
  throw std::invalid_argument("no control " + std::string(name));
}

// In the main window and the option dialogs: ids and names unique, each kind named after it, the
// table in tab order (a picture last and out of it), boxes on whole pixels at 96 DPI inside the
// client area, but for a title label that runs past its right edge.
TEST(Layouts, UniqueControlsInTabOrderOnWholePixelsInsideTheClientArea) {
  const std::pair<std::string_view, Kind> kinds[] = {
      {"Label", Kind::kLabel},         {"File", Kind::kFileList},  {"Check", Kind::kCheckBox},
      {"Option", Kind::kOptionButton}, {"Command", Kind::kButton}, {"Image", Kind::kPicture}};
  const dialogs::OptionDialogForm &form3 = dialogs::kJoystickTypeForm,
                                  &form4 = dialogs::kResolutionForm;
  const std::tuple<Form, int, int, Rect> forms[] = {
      {kMain, kMainClientWidthTwips, kMainClientHeightTwips, {0, 0, 582, 446}},
      {kForm3, form3.client_width_twips, form3.client_height_twips, {0, 0, 302, 366}},
      {kForm4, form4.client_width_twips, form4.client_height_twips, {0, 0, 312, 199}}};
  for (const auto& [form, width, height, client] : forms) {
    EXPECT_EQ(ToPixels({0, 0, width, height}, 96), client);
    std::set<int> ids;
    for (std::size_t i = 0; i < form.size(); ++i) {
      const Control& c = form[i];
      const Rect& t = c.twips;
      SCOPED_TRACE(c.name);
      EXPECT_TRUE(ids.insert(c.id).second && &Named(c.name, form) == &c) << "id or name used twice";
      EXPECT_TRUE(std::ranges::any_of(
          kinds, [&](const auto& k) { return c.name.starts_with(k.first) && c.kind == k.second; }));
      EXPECT_EQ(c.tab_index,
                c.kind == Kind::kPicture && i + 1 == form.size() ? -1 : static_cast<int>(i));
      EXPECT_TRUE(t.left % 15 == 0 && t.top % 15 == 0 && t.width % 15 == 0 && t.height % 15 == 0);
      const bool title = c.kind == Kind::kLabel && t.left == 0 && t.top == 0 && t.width > width;
      EXPECT_TRUE(t.left >= 0 && t.top >= 0 && (t.right() <= width || title) &&
                  t.bottom() <= height);
      EXPECT_TRUE(c.kind != Kind::kLabel || c.font == kHeadingFont);
      EXPECT_TRUE(c.kind != Kind::kButton || std::tie(c.back, c.text) == std::tie(kYellow, kAsIs));
      EXPECT_TRUE(c.kind != Kind::kOptionButton ||
                  std::tie(c.back, c.text) == std::tie(kWindow, kWindowText));
    }
  }
}

TEST(FormLayout, TwipsAndPointsToTheNearestPixelAndFacesWithStandIns) {
  const int twips[][3] = {{1440, 96, 96}, {1433, 96, 96}, {1427, 96, 95}, {14, 144, 1},
                          {15, 144, 2},   {25, 144, 3},   {375, 192, 50}};
  for (const auto& [in, dpi, out] : twips)
    EXPECT_EQ(TwipsToPixels(in, dpi), out) << in << "@" << dpi;
  EXPECT_EQ(ToPixels(Named("Command3").twips, 192), (Rect{720, 592, 82, 50}));
  // Points * dpi / 72, negative as a character height; 13.75 and 16.25 round,
  // an exact half (19.5, 40.5) goes down so that text never outgrows its box.
  EXPECT_EQ((std::vector{FontHeight(kTimesFont, 96), FontHeight(kDefaultFont, 96),
                         FontHeight(kDefaultFont, 120), FontHeight(kTimesFont, 120),
                         FontHeight(kTimesFont, 144), FontHeight({"Arial Narrow", 2025}, 144)}),
            (std::vector{-13, -11, -14, -16, -19, -40}));
  for (std::string_view face : {"Times New Roman", "Terminal", "MS Sans Serif"}) {
    const std::vector<std::string_view> faces = FaceCandidates(face);
    EXPECT_TRUE(faces.size() >= 2 && faces[0] == face && std::ranges::count(faces, face) == 1);
  }
  EXPECT_EQ(FaceCandidates("Quorvel Sans"), std::vector<std::string_view>{"Quorvel Sans"});
}

// A box of 10 x 10 pixels at 96 DPI by its top-left pixel.
Control Box(int left, int top) {
  return {"", Kind::kButton, "", {left * 15, top * 15, 150, 150}, 0, {}, {}, {}, 0};
}

TEST(FormLayout, TheBoxFurtherRightThenTheLaterOneLiesInFront) {
  // The first box lies right of the second and covers it, though it comes
  // earlier; the third, in the same column and later, covers the second's
  // foot; the last two only touch the first's right and the third's foot.
  const Control boxes[] = {Box(10, 0), Box(5, 5), Box(5, 12), Box(20, 0), Box(5, 22)};
  EXPECT_EQ(CoveredParts(boxes, 1, 96), (Rects{{5, 0, 5, 5}, {0, 7, 10, 3}}));
  EXPECT_EQ(CoveredParts(boxes, 1, 192), (Rects{{10, 0, 10, 10}, {0, 14, 20, 6}}));
  for (std::size_t i : {0, 2, 3, 4}) EXPECT_EQ(CoveredParts(boxes, i, 96), Rects{}) << i;
}

// Command3 covers Option2's right end and Check6 Check4's foot.
TEST(MainLayout, NeighboursShareAPixelRowButCommand3AndCheck6LieOverOthersAndOptionsMapOneToOne) {
  std::vector<std::pair<std::string_view, Rect>> over;  // covered parts over a pixel row high
  for (std::size_t i = 0; i < kMainControls.size(); ++i)
    for (const Rect& part : CoveredParts(kMainControls, i, 96))
      if (part.height != 1) over.emplace_back(kMainControls[i].name, part);
  EXPECT_EQ(over, (decltype(over){{"Check4", {0, 24, 161, 9}}, {"Option2", {120, 8, 41, 17}}}));
  std::multiset<int> mapped, buttons;
  for (std::size_t i = 0; i < kFlagCount; ++i) mapped.insert(ControlIdOf(static_cast<Flag>(i)));
  for (std::size_t i = 0; i < kRateOptions.size(); ++i) {
    mapped.insert(RateControlId(i));
    EXPECT_EQ(Named(kRateOptions[i].control).caption, kRateOptions[i].caption);
  }
  for (const Control& c : kMainControls)
    if (c.kind == Kind::kCheckBox || c.kind == Kind::kOptionButton) buttons.insert(c.id);
  EXPECT_EQ(mapped, buttons);
}

TEST(ImageFiles, VisibleMatchingFilesAlphabeticallyInAnyCaseAndInOneSteadyOrder) {
  std::vector<DirectoryEntry> entries = {
      {u"Folder.sms", true}, {u"Hidden Marsh.sms", false, true}, {u"boot.gg", false, false, true}};
  for (const char16_t* name :
       {u"Zeta Reach.SMS", u"alpha.sms", u"Ödland Tale.gg", u"x y.GG", u"notes.txt", u"Beta.Gg",
        u"x.smsx", u"sms", u"gg", u"asms", u"a.gg.bak", u"a.sm", u"", u"gamma.gG", u"Mixed.Sms",
        u".sms", u"lone\xDC00.gg"})  // an unpaired surrogate, possible on NTFS
    entries.push_back({name});
  EXPECT_EQ(
      ImageFiles(entries),
      (std::vector<std::u16string>{u".sms", u"alpha.sms", u"Beta.Gg", u"gamma.gG", u"lone\xDC00.gg",
                                   u"Mixed.Sms", u"x y.GG", u"Zeta Reach.SMS", u"Ödland Tale.gg"}));
  // Names equal but for case come in one order whatever order the folder gives.
  entries = {{u"A.gg"}, {u"B.sms"}, {u"a.GG"}, {u"b.sms"}};  // sorted by name
  const std::vector<std::u16string> first = ImageFiles(entries);
  EXPECT_EQ(std::set<std::u16string>(first.begin(), first.begin() + 2),
            (std::set<std::u16string>{u"a.GG", u"A.gg"}));
  while (std::ranges::next_permutation(entries, {}, &DirectoryEntry::name).found)
    EXPECT_EQ(ImageFiles(entries), first);
}

// The backdrop's colour at (x, y) at 96 DPI: a grey and a black column on the
// left, a black top row, lines every 32 pixels from x = 2 and y = 1, white
// elsewhere. The top-left pixel, where the column meets the row, may be either.
constexpr std::uint32_t kUnpainted = 0xFF000000, kEither = 0xFF000001;
std::uint32_t Backdrop96(int x, int y) {
  if (x == 0) return y == 0 ? kEither : 0x848484;
  if (x == 1 || y == 0) return 0x000000;
  const bool line = (x <= 770 && (x - 2) % 32 == 0) || (y <= 417 && (y - 1) % 32 == 0);
  return line ? 0xB5B5CE : 0xFFFFFF;
}

TEST(Backdrop, GridAndSunkenEdgeAt96DpiAndTwiceAsBigAt192) {
  for (const int scale : {1, 2}) {
    const int width = 796 * scale, height = 446 * scale;
    std::vector<std::uint32_t> painted(static_cast<std::size_t>(width * height), kUnpainted);
    for (const auto& [r, rgb] : BackdropFills(96 * scale)) {
      ASSERT_TRUE(r.left >= 0 && r.top >= 0 && r.right() <= width && r.bottom() <= height);
      for (int y = r.top; y < r.bottom(); ++y)
        std::fill_n(painted.begin() + y * width + r.left, r.width, rgb);
    }
    int wrong = 0;
    for (int i = 0; i < width * height; ++i) {
      const std::uint32_t got = painted[i], want = Backdrop96(i % width / scale, i / width / scale);
      if ((want == kEither ? got == kUnpainted : got != want) && ++wrong <= 3)
        ADD_FAILURE() << scale << "x, pixel " << i % width << "," << i / width << ": " << got;
    }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
}  // namespace quorvel::launcher
