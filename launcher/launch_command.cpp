#include "launcher/launch_command.h"

#include "launcher/opening.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace quorvel::launcher {
namespace {

inline constexpr std::u16string_view kCommandWord = u"kx ";
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

std::u16string RomArgument(std::u16string_view file_name) {
  if (file_name.empty()) return {};
  std::u16string argument;
  if (file_name.find_first_of(u" \t") != std::u16string_view::npos) {
    argument.append(u"\"").append(file_name).append(u"\"");
  } else {
    argument.append(file_name);
  }
  argument += u' ';
  return argument;
}

std::optional<std::u16string> LaunchCommandLine(const MainOptions& options,
                                                std::u16string_view file_name,
                                                std::string_view joystick_type,
                                                std::string_view resolution) {
  std::string options_part;  // UTF-8, like the stored values it takes in
  for (const FlagOption& option : kFlagOptions) {
    if (options[option.flag]) {
      options_part += option.fragment;
      if (option.flag == Flag::kJoystick) options_part += joystick_type;
    }
    if (RateComesAfter(option.flag) && options.rate)
      options_part += kRateOptions.at(*options.rate).fragment;
  }
  options_part += kResolutionFragment;
  options_part += resolution;
  const std::optional<std::u16string> options_text = utf::ToUtf16(options_part);
  if (!options_text) return std::nullopt;
  return std::u16string(kCommandWord) + RomArgument(file_name) + *options_text;
}

std::optional<LaunchPlan> PlanLaunch(const MainOptions& options, std::u16string_view folder,
                                     std::u16string_view file_name, const SettingReader& read) {
  if (RomArgument(file_name).empty()) return std::nullopt;
  const std::string joystick_type =
      options[Flag::kJoystick] ? read(settings::kJoystickType.section, settings::kJoystickType.key)
                               : std::string();
  return LaunchPlan{
      LaunchCommandLine(options, file_name, joystick_type,
                        read(settings::kResolution.section, settings::kResolution.key)),
      LaunchWrites(options), StoredImagePath(paths::Join<char16_t>(folder, file_name))};
}

}  // namespace quorvel::launcher
