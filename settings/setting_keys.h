// Where the settings file keeps the values that one part of the program
// stores and another reads: the dialogs store them, the launch reads them.
#pragma once

#include <string_view>

namespace quorvel::settings {

struct SettingKey {
  std::string_view section;
  std::string_view key;
};

inline constexpr SettingKey kJoystickType{"Joystick", "type"};
inline constexpr SettingKey kResolution{"Video", "res"};

}  // namespace quorvel::settings
