// The main window's fixed form: frame, size, pictures and its 26 controls.
#pragma once

#include <array>
#include <string_view>

#include "layout/form_layout.h"

namespace quorvel::launcher {

inline constexpr std::string_view kMainCaption = "Quorvel - Korvax Launcher";
inline constexpr int kMainClientWidthTwips = 8730;
inline constexpr int kMainClientHeightTwips = 6690;

// Control ids of the main window.
enum MainId : int {
  kIdLabel1 = 101,
  kIdFile1,
  kIdLabel2,
  kIdCheck1,
  kIdCheck2,
  kIdCheck4,
  kIdLabel3,
  kIdOption1,
  kIdOption2,
  kIdLabel4,
  kIdCheck5,
  kIdLabel5,
  kIdOption3,
  kIdOption4,
  kIdCommand1,
  kIdCommand2,
  kIdCheck6,
  kIdCommand3,
  kIdOption5,
  kIdOption6,
  kIdLabel6,
  kIdCheck7,
  kIdCheck8,
  kIdCheck9,
  kIdCommand4,
  kIdImage1,
};

// In tab order; Image1, which takes no part in it, last.
extern const std::array<layout::Control, 26> kMainControls;

inline constexpr std::string_view kJoystickButtonTip = "Select Joystick Type";

}  // namespace quorvel::launcher
