// The option dialogs: their tables, the rule matching a stored value to a row, buttons, arrows.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "dialogs/dialog_layouts.h"
#include "dialogs/option_tables.h"

namespace quorvel::dialogs {
namespace {

using layout::Control;

TEST(OptionTables, ValuesAreOneWordAndOneBlankAndMatchedExactly) {
  for (const OptionRow& row : kJoystickTypes)
    EXPECT_EQ(row.value.find(' '), row.value.size() - 1) << row.caption;
  for (const OptionDialogForm* form : {&kJoystickTypeForm, &kResolutionForm})
    for (std::size_t row = 0; row < form->rows.size(); ++row)
      EXPECT_EQ(MatchingRow(form->rows, form->rows[row].value), row);
  for (const char* near_miss : {"auto", "Auto ", " auto ", "auto  ", "", "AUTO ", "auto\t"})
    EXPECT_EQ(MatchingRow(kJoystickTypes, near_miss), std::nullopt) << '"' << near_miss << '"';
  for (const char* near_miss : {"640 480", "1024 768 ", "640 x 480", "640  480 ", ""})
    EXPECT_EQ(MatchingRow(kResolutions, near_miss), std::nullopt) << '"' << near_miss << '"';
}

// Each row has its own option button, and the arrow keys walk them column by column, each from
// top to bottom: the TG16 buttons stand below Option10 and Option24 below Option20.
TEST(OptionDialogs, EachRowHasItsOwnButtonAndArrowKeysWalkColumnByColumnTopToBottom) {
  const std::pair<const OptionDialogForm*, std::string> forms[] = {
      {&kJoystickTypeForm, "1 2 3 4 5 6 7 8 9 10 21 22 23 11 12 13 14 15 16 17 18 19 20 24 25 26 "},
      {&kResolutionForm, "1 2 3 4 5 "}};
  for (const auto& [form, order] : forms) {
    for (const OptionRow& row : form->rows) {
      const Control* button = layout::Find(form->controls, row.button);
      EXPECT_TRUE(button && button->caption == row.caption) << row.button;
    }
    EXPECT_EQ(std::ranges::count(form->controls, layout::Kind::kOptionButton, &Control::kind),
              std::ssize(form->rows));
    std::string walk;  // the option buttons' numbers
    for (int id : ScreenOrder(*form))
      for (const Control& c : form->controls)
        if (c.id == id) walk += std::string(c.name.substr(6)) + " ";
    EXPECT_EQ(walk, order);
    const Control* ok = layout::Find(form->controls, "Command1");
    EXPECT_TRUE(ok && ok->caption == "OK" && ok->id == kIdOk && kIdOk == 1) << "IDOK, from Enter";
  }
}

}  // namespace
}  // namespace quorvel::dialogs
