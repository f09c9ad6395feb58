// The main window's option controls as plain values: what the start-up
// restore makes of the settings, what a click on an option button changes,
// and how the arrow keys walk an option group.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "launcher/launch_command.h"

namespace quorvel::launcher {

struct MainState {
  MainOptions options;
  bool joystick_button_enabled = true;  // Command3
  bool operator==(const MainState&) const = default;
};

// Reads the settings one by one in the restore order and returns the state
// they give. Only an exact "1" turns a check box on or selects a controller
// button; the rate selects the button whose rate it equals exactly.
MainState RestoredState(const SettingReader& read);

// Selecting an option button clears the others of its own group only, and the
// controller group decides whether Command3 is enabled.
void SelectController(MainState& state, Flag controller);  // kKeyboard or kJoystick
void SelectRate(MainState& state, std::size_t rate);

// The option button groups by control id, each in the order the buttons stand
// on the screen, top to bottom.
std::span<const int> ControllerGroup();
std::span<const int> RateGroup();

// The button an arrow key moves to from `id` (step -1 up/left, +1
// down/right), wrapping around inside its group; nullopt when `id` is in no
// group.
std::optional<int> NextInGroup(int id, int step);

// The main window's control id for a flag's check box or option button, and
// for a rate button.
int ControlIdOf(Flag flag);
int RateControlId(std::size_t rate);

}  // namespace quorvel::launcher
