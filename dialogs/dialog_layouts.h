// The fixed forms of the joystick type dialog (Form3) and the resolution
// dialog (Form4): frameless windows whose green title label stands in for a
// title bar.
#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "dialogs/option_tables.h"
#include "layout/form_layout.h"
#include "settings/setting_keys.h"

namespace quorvel::dialogs {

// Everything that tells one option dialog from the other.
struct OptionDialogForm {
  std::string_view caption;  // window text; no title bar shows it
  int client_width_twips;
  int client_height_twips;
  std::span<const layout::Control> controls;  // in tab order
  std::span<const OptionRow> rows;
  settings::SettingKey setting;  // where the chosen row's value is stored
};

// The OK button of both dialogs carries the id that Enter sends.
inline constexpr int kIdOk = 1;

extern const OptionDialogForm kJoystickTypeForm;  // Form3
extern const OptionDialogForm kResolutionForm;    // Form4

// The About dialog (Form2): a framed window with fixed texts, a picture and OK.
inline constexpr std::string_view kAboutCaption = "About Quorvel...";
inline constexpr int kAboutClientWidthTwips = 6465;
inline constexpr int kAboutClientHeightTwips = 4965;
// The project has no public site yet.
inline constexpr std::string_view kProjectAddress = "https://quorvel.example.org/";
extern const std::array<layout::Control, 7> kAboutControls;  // in tab order

// The dialog's option buttons by control id, in the order they stand on the
// screen: column by column, each from top to bottom. Arrow keys walk this
// order.
std::vector<int> ScreenOrder(const OptionDialogForm& form);

}  // namespace quorvel::dialogs
