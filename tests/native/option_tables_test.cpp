// The two option dialogs: their tables of stored values, the rule that matches
// a stored value to a row, each row's button and the order arrow keys walk.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "dialogs/dialog_layouts.h"
#include "dialogs/option_tables.h"

namespace quorvel::dialogs {
namespace {

using layout::Control;

TEST(OptionTables, ValuesAreOneWordAndOneBlankWithTheOddNamesKept) {
  EXPECT_EQ(kJoystickTypes[20].button, "Option24");  // the third N64 button stands 21st
  EXPECT_EQ(kJoystickTypes[20].value, "n64lpt3 ");
  EXPECT_EQ(kJoystickTypes[21].caption, "TG16 Pad on LPT 1");
  EXPECT_EQ(kJoystickTypes[9].value, "gamepdpro ");
  EXPECT_EQ(kJoystickTypes[3].value, "4button ");
  EXPECT_EQ(kJoystickTypes[2].caption, "2pads");
  EXPECT_EQ(kResolutions[4].value, "1024 860 ");
  for (const OptionRow& row : kJoystickTypes)
    EXPECT_EQ(row.value.find(' '), row.value.size() - 1) << row.caption;
  for (std::size_t i = 0; i < kResolutions.size(); ++i) {
    std::string caption(kResolutions[i].caption);  // "W x H" for "W H "
    EXPECT_EQ(kResolutions[i].value, caption.replace(caption.find(" x "), 3, " ") + " ");
    EXPECT_EQ(kResolutions[i].button, "Option" + std::to_string(i + 1));
  }
}

TEST(MatchingRow, ComparesWholeTextsExactly) {
  for (const OptionDialogForm* form : {&kJoystickTypeForm, &kResolutionForm})
    for (std::size_t row = 0; row < form->rows.size(); ++row)
      EXPECT_EQ(MatchingRow(form->rows, form->rows[row].value), row);
  for (const char* near_miss : {"auto", "Auto ", " auto ", "auto  ", "", "AUTO ", "auto\t"})
    EXPECT_EQ(MatchingRow(kJoystickTypes, near_miss), std::nullopt) << '"' << near_miss << '"';
  for (const char* near_miss : {"640 480", "1024 768 ", "640 x 480", "640  480 ", ""})
    EXPECT_EQ(MatchingRow(kResolutions, near_miss), std::nullopt) << '"' << near_miss << '"';
}

TEST(OptionDialogs, EachRowHasItsOwnButtonAndOkSendsTheIdEnterSends) {
  for (const OptionDialogForm* form : {&kJoystickTypeForm, &kResolutionForm}) {
    std::multiset<std::string_view> named, buttons;
    for (const OptionRow& row : form->rows) {
      const Control* button = layout::Find(form->controls, row.button);
      ASSERT_NE(button, nullptr) << row.button;
      EXPECT_EQ(button->caption, row.caption);
      named.insert(row.button);
    }
    for (const Control& c : form->controls)
      if (c.kind == layout::Kind::kOptionButton) buttons.insert(c.name);
    EXPECT_EQ(named, buttons);
    const Control* ok = layout::Find(form->controls, "Command1");
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->caption == "OK" && ok->id == kIdOk && kIdOk == 1);  // IDOK, sent by Enter
  }
  EXPECT_EQ(std::tie(kJoystickTypeForm.section, kJoystickTypeForm.key, kResolutionForm.section,
                     kResolutionForm.key),
            std::tuple("Joystick", "type", "Video", "res"));
}

// Column by column, each from top to bottom: at the left Option1 to Option10
// and then the TG16 buttons, at the right Option11 to Option20 and then
// Option24 to Option26.
TEST(OptionDialogs, ArrowKeysWalkColumnByColumnTopToBottom) {
  for (const OptionDialogForm* form : {&kJoystickTypeForm, &kResolutionForm}) {
    std::vector<const Control*> walk;
    for (int id : ScreenOrder(*form))
      for (const Control& c : form->controls)
        if (c.id == id && c.kind == layout::Kind::kOptionButton) walk.push_back(&c);
    ASSERT_EQ(walk.size(), form->rows.size());
    std::string names;
    for (std::size_t i = 0; i < walk.size(); ++i) {
      const layout::Rect &a = walk[i > 0 ? i - 1 : 0]->twips, &b = walk[i]->twips;
      EXPECT_TRUE(i == 0 || a.left < b.left || (a.left == b.left && a.top < b.top))
          << walk[i]->name;
      names += std::string(walk[i]->name) + " ";
    }
    if (form == &kResolutionForm) continue;
    EXPECT_NE(names.find(" Option10 Option21 Option22 Option23 Option11 "), std::string::npos);
    EXPECT_TRUE(names.ends_with(" Option20 Option24 Option25 Option26 ")) << names;
  }
}

}  // namespace
}  // namespace quorvel::dialogs
