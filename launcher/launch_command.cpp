#include "launcher/launch_command.h"

namespace quorvel::launcher {
namespace {

inline constexpr std::string_view kCommandWord = "kx ";
inline constexpr std::string_view kResolutionFragment = "-res ";

// Where the sound rate stands among the flags: right after "Sound enabled".
bool RateComesAfter(Flag flag) { return flag == Flag::kSound; }

}  // namespace

std::vector<SettingWrite> LaunchWrites(const MainOptions& options) {
  std::vector<SettingWrite> writes;
  writes.reserve(kFlagCount + 1);
  for (const FlagOption& option : kFlagOptions) {
    writes.push_back({option.section, option.key, options[option.flag] ? kFlagOn : kFlagOff});
    if (RateComesAfter(option.flag)) {
      writes.push_back(
          {kRateSection, kRateKey,
           options.rate ? kRateOptions.at(*options.rate).rate : kRateWhenNoneSelected});
    }
  }
  return writes;
}

std::string RomArgument(std::string_view file_name) {
  if (file_name.empty()) return {};
  std::string argument;
  if (file_name.find_first_of(" \t") != std::string_view::npos) {
    argument.append("\"").append(file_name).append("\"");
  } else {
    argument.append(file_name);
  }
  argument += ' ';
  return argument;
}

std::string LaunchCommandLine(const MainOptions& options, std::string_view file_name,
                              std::string_view joystick_type, std::string_view resolution) {
  std::string line(kCommandWord);
  line += RomArgument(file_name);
  for (const FlagOption& option : kFlagOptions) {
    if (options[option.flag]) {
      line += option.fragment;
      if (option.flag == Flag::kJoystick) line += joystick_type;
    }
    if (RateComesAfter(option.flag) && options.rate)
      line += kRateOptions.at(*options.rate).fragment;
  }
  line += kResolutionFragment;
  line += resolution;
  return line;
}

std::optional<std::string> LoadAndRun(const MainOptions& options, std::string_view file_name,
                                      const SettingReader& read, const SettingWriter& write) {
  if (RomArgument(file_name).empty()) return std::nullopt;
  for (const SettingWrite& setting : LaunchWrites(options)) write(setting);
  const std::string joystick_type =
      options[Flag::kJoystick] ? read(kJoystickSection, kJoystickTypeKey) : std::string();
  return LaunchCommandLine(options, file_name, joystick_type,
                           read(kResolutionSection, kResolutionKey));
}

}  // namespace quorvel::launcher
