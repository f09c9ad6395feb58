// The launch: which settings "Load and Run" writes, and the emulator's command
// line, as plain functions of the main window's options.
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "settings/setting_keys.h"
#include "settings/settings_file.h"

namespace quorvel::launcher {

// The on/off options of the main window, in the order the launch takes them.
enum class Flag : std::size_t {
  kScanlines,  // Check1
  kBlur,       // Check2
  kScale,      // Check4
  kExpand,     // Check6
  kKeyboard,   // Option1
  kJoystick,   // Option2
  kSound,      // Check5
  kNoMmx,      // Check7
  kVSync,      // Check8
  kThrottle,   // Check9
};
inline constexpr std::size_t kFlagCount = 10;

struct FlagOption {
  Flag flag;
  std::string_view control;
  std::string_view section;
  std::string_view key;
  std::string_view fragment;  // appended when on; "" for none
};

// In launch order. The joystick's fragment is followed by the stored joystick
// type; the sound rate is taken between kSound and kNoMmx.
inline constexpr std::array<FlagOption, kFlagCount> kFlagOptions{{
    {Flag::kScanlines, "Check1", "Video", "scanlines", "-scanlines "},
    {Flag::kBlur, "Check2", "Video", "blur", "-blur "},
    {Flag::kScale, "Check4", "Video", "scale", "-scale "},
    {Flag::kExpand, "Check6", "Video", "expand", "-expand "},
    {Flag::kKeyboard, "Option1", "Controls", "keyboard", ""},
    {Flag::kJoystick, "Option2", "Controls", "joystick", "-joy "},
    {Flag::kSound, "Check5", "Sound", "enabled", "-sound "},
    {Flag::kNoMmx, "Check7", "Other", "nommx", "-nommx "},
    {Flag::kVSync, "Check8", "Other", "vsync", "-vsync "},
    {Flag::kThrottle, "Check9", "Other", "throttle", "-throttle "},
}};

struct RateOption {
  std::string_view control;
  std::string_view caption;
  std::string_view rate;
  std::string_view fragment;
};

// The sound-rate buttons, by name.
inline constexpr std::array<RateOption, 4> kRateOptions{{
    {"Option3", "11.025Hz", "11025", "-sndrate 11025 "},
    {"Option4", "22.050Hz", "22050", "-sndrate 22050 "},
    {"Option5", "8.000Hz", "8000", "-sndrate 8000 "},
    {"Option6", "44.100Hz", "44100", "-sndrate 44100 "},
}};
inline constexpr std::string_view kRateSection = "Sound";
inline constexpr std::string_view kRateKey = "rate";
inline constexpr std::string_view kRateWhenNoneSelected = "8000";

inline constexpr std::string_view kFlagOn = "1";
inline constexpr std::string_view kFlagOff = "0";

struct MainOptions {
  std::array<bool, kFlagCount> flags{};  // true only for a checked box / selected button
  std::optional<std::size_t> rate;       // index into kRateOptions

  bool& operator[](Flag flag) { return flags[static_cast<std::size_t>(flag)]; }
  bool operator[](Flag flag) const { return flags[static_cast<std::size_t>(flag)]; }
  bool operator==(const MainOptions&) const = default;
};

// One setting to store, as the settings store takes it.
using SettingWrite = settings::Setting;

// Every setting the launch writes, in the order it writes them.
std::vector<SettingWrite> LaunchWrites(const MainOptions& options);

using SettingReader = std::function<std::string(std::string_view section, std::string_view key)>;

// What "Load and Run" does: start the emulator on its command line and store
// every option, in launch order, in one step.
struct LaunchPlan {
  // nullopt when a stored value is not UTF-8 text: it cannot be passed on unchanged.
  std::optional<std::u16string> command_line;
  std::vector<SettingWrite> writes;
  // The launched image's full path as the settings keep it (launcher/opening.h),
  // stored with the writes.
  std::string remembered;
  bool operator==(const LaunchPlan&) const = default;
};

// "Load and Run" on the settings: with a file of `folder` selected, reads the stored
// joystick type (only when Joystick is on) and resolution, and plans the
// launch. The writes touch neither value, so reading first reads what
// reading after them would. With no file selected it reads nothing and
// returns nullopt.
std::optional<LaunchPlan> PlanLaunch(const MainOptions& options, std::u16string_view folder,
                                     std::u16string_view file_name, const SettingReader& read);

// The file argument: the bare file name and one blank, or "" when no file is
// selected. A name with a blank in it is put in double quotes so that the
// emulator receives it as one argument.
std::u16string RomArgument(std::u16string_view file_name);

// The emulator's whole command line, beginning with "kx ". `joystick_type` and
// `resolution` are the stored values, each with its own trailing blank;
// nullopt when either is not UTF-8.
std::optional<std::u16string> LaunchCommandLine(const MainOptions& options,
                                                std::u16string_view file_name,
                                                std::string_view joystick_type,
                                                std::string_view resolution);

}  // namespace quorvel::launcher
