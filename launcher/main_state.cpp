#include "launcher/main_state.h"

#include <algorithm>
#include <array>

#include "launcher/main_layout.h"

namespace quorvel::launcher {
namespace {

// The check boxes and controller buttons in the order the restore reads them.
constexpr std::array<Flag, 10> kRestoreOrder = {
    Flag::kScanlines, Flag::kBlur,  Flag::kExpand, Flag::kScale, Flag::kKeyboard,
    Flag::kJoystick,  Flag::kSound, Flag::kNoMmx,  Flag::kVSync, Flag::kThrottle,
};

constexpr std::array<int, 2> kControllerGroup = {kIdOption1, kIdOption2};
constexpr std::array<int, 4> kRateGroup = {kIdOption5, kIdOption3, kIdOption4, kIdOption6};

const FlagOption& OptionOf(Flag flag) {
  return *std::find_if(kFlagOptions.begin(), kFlagOptions.end(),
                       [flag](const FlagOption& option) { return option.flag == flag; });
}

int IdOfName(std::string_view name) { return layout::Find(kMainControls, name)->id; }

// The ids of the flags' and rates' controls, found by name in the table once.
struct ControlIds {
  std::array<int, kFlagCount> flags{};
  std::array<int, kRateOptions.size()> rates{};
};

const ControlIds& Ids() {
  static const ControlIds ids = [] {
    ControlIds found;
    for (const FlagOption& option : kFlagOptions)
      found.flags[static_cast<std::size_t>(option.flag)] = IdOfName(option.control);
    for (std::size_t rate = 0; rate < kRateOptions.size(); ++rate)
      found.rates[rate] = IdOfName(kRateOptions[rate].control);
    return found;
  }();
  return ids;
}

}  // namespace

MainState RestoredState(const SettingReader& read) {
  MainState state;
  for (const Flag flag : kRestoreOrder) {
    const FlagOption& option = OptionOf(flag);
    const bool on = read(option.section, option.key) == kFlagOn;
    if (flag == Flag::kKeyboard || flag == Flag::kJoystick) {
      // Selecting runs the button's click; a value other than "1" only clears it.
      if (on)
        SelectController(state, flag);
      else
        state.options[flag] = false;
    } else {
      state.options[flag] = on;
    }
    if (flag == Flag::kSound) {
      const std::string rate = read(kRateSection, kRateKey);
      for (std::size_t i = 0; i < kRateOptions.size(); ++i)
        if (rate == kRateOptions[i].rate) SelectRate(state, i);
    }
  }
  return state;
}

void SelectController(MainState& state, Flag controller) {
  state.options[Flag::kKeyboard] = controller == Flag::kKeyboard;
  state.options[Flag::kJoystick] = controller == Flag::kJoystick;
  state.joystick_button_enabled = controller == Flag::kJoystick;
}

void SelectRate(MainState& state, std::size_t rate) { state.options.rate = rate; }

std::span<const int> ControllerGroup() { return kControllerGroup; }
std::span<const int> RateGroup() { return kRateGroup; }

std::optional<int> NextInGroup(int id, int step) {
  if (auto next = layout::NextInOrder(ControllerGroup(), id, step)) return next;
  return layout::NextInOrder(RateGroup(), id, step);
}

int ControlIdOf(Flag flag) { return Ids().flags.at(static_cast<std::size_t>(flag)); }
int RateControlId(std::size_t rate) { return Ids().rates.at(rate); }

}  // namespace quorvel::launcher
