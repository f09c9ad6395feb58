// The two dialogs' option tables and layouts, and the rule that matches a
// stored value to a row.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "dialogs/dialog_layouts.h"
#include "dialogs/option_tables.h"

namespace quorvel::dialogs {
namespace {

TEST(OptionTables, JoystickTypesKeepTheirOddNamesAndValues) {
  ASSERT_EQ(kJoystickTypes.size(), 26u);
  // The third N64 button is Option24 and stands 21st; the TG16 buttons follow.
  EXPECT_EQ(kJoystickTypes[20].button, "Option24");
  EXPECT_EQ(kJoystickTypes[20].value, "n64lpt3 ");
  EXPECT_EQ(kJoystickTypes[21].button, "Option21");
  EXPECT_EQ(kJoystickTypes[21].caption, "TG16 Pad on LPT 1");
  EXPECT_EQ(kJoystickTypes[9].value, "gamepdpro ");
  EXPECT_EQ(kJoystickTypes[3].value, "4button ");
  EXPECT_EQ(kJoystickTypes[2].caption, "2pads");
  std::set<std::string_view> values, buttons;
  for (const OptionRow& row : kJoystickTypes) {
    EXPECT_EQ(row.value.back(), ' ') << row.caption;
    EXPECT_EQ(row.value.find(' '), row.value.size() - 1) << "one word and one blank";
    values.insert(row.value);
    buttons.insert(row.button);
  }
  EXPECT_EQ(values.size(), 26u);
  EXPECT_EQ(buttons.size(), 26u);
}

TEST(OptionTables, ResolutionsStoreWidthBlankHeightBlank) {
  const char* expected[] = {"320 200 ", "320 240 ", "640 480 ", "800 600 ", "1024 860 "};
  ASSERT_EQ(kResolutions.size(), 5u);
  for (std::size_t row = 0; row < kResolutions.size(); ++row) {
    EXPECT_EQ(kResolutions[row].value, expected[row]);
    EXPECT_EQ(kResolutions[row].button, "Option" + std::to_string(row + 1));
  }
  EXPECT_EQ(kResolutions[4].caption, "1024 x 860");
}

TEST(MatchingRow, ComparesWholeTextsExactly) {
  EXPECT_EQ(MatchingRow(kJoystickTypes, "auto "), 0u);
  EXPECT_EQ(MatchingRow(kJoystickTypes, "n64lpt3 "), 20u);
  EXPECT_EQ(MatchingRow(kJoystickTypes, "segapci "), 25u);
  for (const char* near_miss : {"auto", "Auto ", " auto ", "auto  ", "", "AUTO ", "auto\t"})
    EXPECT_FALSE(MatchingRow(kJoystickTypes, near_miss)) << '"' << near_miss << '"';

  EXPECT_EQ(MatchingRow(kResolutions, "640 480 "), 2u);
  for (const char* near_miss : {"640 480", "1024 768 ", "640 x 480", "640  480 ", ""})
    EXPECT_FALSE(MatchingRow(kResolutions, near_miss)) << '"' << near_miss << '"';
  // Every row finds itself.
  for (std::size_t row = 0; row < kJoystickTypes.size(); ++row)
    EXPECT_EQ(MatchingRow(kJoystickTypes, kJoystickTypes[row].value), row);
}

TEST(DialogLayouts, EveryRowHasItsButtonWithItsCaption) {
  for (const OptionDialogForm* form : {&kJoystickTypeForm, &kResolutionForm}) {
    for (const OptionRow& row : form->rows) {
      const layout::Control* button = layout::Find(form->controls, row.button);
      ASSERT_NE(button, nullptr) << row.button;
      EXPECT_EQ(button->kind, layout::Kind::kOptionButton);
      EXPECT_EQ(button->caption, row.caption);
    }
    const layout::Control* ok = layout::Find(form->controls, "Command1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->caption, "OK");
    EXPECT_EQ(ok->id, kIdOk);
  }
  EXPECT_EQ(kJoystickTypeForm.section, "Joystick");
  EXPECT_EQ(kJoystickTypeForm.key, "type");
  EXPECT_EQ(kResolutionForm.section, "Video");
  EXPECT_EQ(kResolutionForm.key, "res");
}

TEST(DialogLayouts, PixelRectanglesAtNinetySixDpi) {
  struct Expected {
    const char* name;
    layout::Rect pixels;
  };
  const Expected form3[] = {{"Label1", {0, 0, 393, 33}},    {"Option1", {8, 40, 153, 33}},
                            {"Option6", {8, 144, 177, 29}}, {"Command1", {8, 328, 289, 33}},
                            {"Option11", {168, 48, 121, 25}}, {"Option24", {168, 248, 121, 25}},
                            {"Option23", {8, 288, 153, 25}}};
  for (const Expected& e : form3)
    EXPECT_EQ(layout::ToPixels(layout::Find(kJoystickTypeForm.controls, e.name)->twips, 96), e.pixels)
        << e.name;
  const Expected form4[] = {{"Label1", {0, 0, 313, 41}}, {"Option5", {160, 88, 73, 17}},
                            {"Command1", {0, 160, 305, 33}}};
  for (const Expected& e : form4)
    EXPECT_EQ(layout::ToPixels(layout::Find(kResolutionForm.controls, e.name)->twips, 96), e.pixels)
        << e.name;
  EXPECT_EQ(layout::TwipsToPixels(kJoystickTypeForm.client_width_twips, 96), 302);
  EXPECT_EQ(layout::TwipsToPixels(kJoystickTypeForm.client_height_twips, 96), 366);
  EXPECT_EQ(layout::TwipsToPixels(kResolutionForm.client_width_twips, 96), 312);
  EXPECT_EQ(layout::TwipsToPixels(kResolutionForm.client_height_twips, 96), 199);
}

// Whether the pixel at (x, y) of the dialog is cut out of control `index`.
bool CutOut(std::span<const layout::Control> controls, std::size_t index, int x, int y) {
  const layout::Rect box = layout::ToPixels(controls[index].twips, 96);
  for (const layout::Rect& part : layout::CoveredParts(controls, index, 96))
    if (x - box.left >= part.left && x - box.left < part.right() && y - box.top >= part.top &&
        y - box.top < part.bottom())
      return true;
  return false;
}

TEST(DialogLayouts, RightColumnButtonsLieInFrontWhereBoxesOverlap) {
  const auto& controls = kJoystickTypeForm.controls;
  int overlaps = 0;
  for (std::size_t left = 0; left < controls.size(); ++left) {
    for (std::size_t right = 0; right < controls.size(); ++right) {
      if (controls[left].kind != layout::Kind::kOptionButton || controls[left].twips.left != 120 ||
          controls[right].twips.left != 2520)
        continue;
      const layout::Rect a = layout::ToPixels(controls[left].twips, 96);
      const layout::Rect b = layout::ToPixels(controls[right].twips, 96);
      const int x = std::max(a.left, b.left), y = std::max(a.top, b.top);
      if (x >= std::min(a.right(), b.right()) || y >= std::min(a.bottom(), b.bottom())) continue;
      ++overlaps;
      // The two alone, in their order of the table: only the left one loses
      // the overlap, also where "TG16 Pad on LPT 1", later in the tab order,
      // touches "N64 Pad on LPT 2".
      const bool left_first = left < right;
      const std::array<layout::Control, 2> pair = {controls[left_first ? left : right],
                                                   controls[left_first ? right : left]};
      EXPECT_TRUE(CutOut(pair, left_first ? 0 : 1, x, y)) << controls[left].name;
      EXPECT_FALSE(CutOut(pair, left_first ? 1 : 0, x, y)) << controls[right].name;
    }
  }
  EXPECT_GE(overlaps, 8);  // "8 Buttons" and "Microsoft SideWinder" among them
}

TEST(DialogLayouts, ArrowKeysWalkTheColumnsTopToBottom) {
  const auto name_of = [](const OptionDialogForm& form, int id) {
    for (const layout::Control& control : form.controls)
      if (control.id == id) return std::string(control.name);
    return std::string("?");
  };
  std::vector<std::string> order;
  for (const int id : ScreenOrder(kJoystickTypeForm)) order.push_back(name_of(kJoystickTypeForm, id));
  const std::vector<std::string> expected = {
      "Option1",  "Option2",  "Option3",  "Option4",  "Option5",  "Option6",  "Option7",
      "Option8",  "Option9",  "Option10", "Option21", "Option22", "Option23", "Option11",
      "Option12", "Option13", "Option14", "Option15", "Option16", "Option17", "Option18",
      "Option19", "Option20", "Option24", "Option25", "Option26"};
  EXPECT_EQ(order, expected);

  order.clear();
  for (const int id : ScreenOrder(kResolutionForm)) order.push_back(name_of(kResolutionForm, id));
  EXPECT_EQ(order, (std::vector<std::string>{"Option1", "Option2", "Option3", "Option4", "Option5"}));
}

}  // namespace
}  // namespace quorvel::dialogs
