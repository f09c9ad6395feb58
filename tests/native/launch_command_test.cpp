// The main window's options as plain values: the start-up restore, the option groups and their
// arrow keys, the settings a launch writes, the emulator's command line, and "Load and Run".
#include "launcher/launch_command.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "launcher/main_layout.h"
#include "launcher/main_state.h"

namespace quorvel::launcher {
namespace {

using Names = std::vector<std::string_view>;

int IdOf(std::string_view name) {
  if (const layout::Control* control = layout::Find(kMainControls, name)) return control->id;
  throw std::invalid_argument("no control " + std::string(name));
}

// The options with the named check boxes and option buttons of the main window on.
MainOptions On(const Names& controls) {
  MainOptions options;
  for (std::string_view name : controls) {
    for (std::size_t i = 0; i < kFlagCount; ++i)
      if (ControlIdOf(static_cast<Flag>(i)) == IdOf(name)) options.flags[i] = true;
    for (std::size_t i = 0; i < kRateOptions.size(); ++i)
      if (RateControlId(i) == IdOf(name)) options.rate = i;
  }
  return options;
}

MainState Shows(const Names& on, bool command3 = true) { return {On(on), command3}; }

std::string KeyOf(std::string_view section, std::string_view key) {
  return std::string(section) + "/" + std::string(key);
}

using Stored = std::map<std::string, std::string_view>;  // by "section/key"
MainState Restored(const Stored& stored, std::string* reads = nullptr) {
  return RestoredState([&](std::string_view section, std::string_view key) {
    const std::string name = KeyOf(section, key);
    if (reads != nullptr) *reads += name + " ";
    return std::string(stored.contains(name) ? stored.at(name) : "");
  });
}

TEST(MainRestore, OnlyAnExact1OrAnExactRateTurnsOnItsOwnControl) {
  for (const FlagOption& option : kFlagOptions)
    EXPECT_EQ(Restored({{KeyOf(option.section, option.key), "1"}}),
              Shows({option.control}, option.flag != Flag::kKeyboard));
  for (const RateOption& rate : kRateOptions)
    EXPECT_EQ(Restored({{"Sound/rate", rate.rate}}), Shows({rate.control}));
  // Both controller keys stored: the joystick comes second and wins.
  EXPECT_EQ(Restored({{"Controls/keyboard", "1"}, {"Controls/joystick", "1"}}), Shows({"Option2"}));
  EXPECT_EQ(Restored({{"Controls/joystick", "1"}, {"Sound/rate", "22050"}}),
            Shows({"Option2", "Option4"}));
  std::string reads;  // each setting once, in this order
  Restored({}, &reads);
  EXPECT_EQ(reads,
            "Video/scanlines Video/blur Video/expand Video/scale Controls/keyboard "
            "Controls/joystick Sound/enabled Sound/rate Other/nommx Other/vsync Other/throttle ");
  for (std::string_view value : {" 1", "01", "1 ", "true", "-1", "2", "0", "", "22051", "22050 ",
                                 " 8000", "8000.0", "44.100", "11.025Hz"}) {
    Stored stored{{"Sound/rate", value}};
    for (const FlagOption& option : kFlagOptions) stored[KeyOf(option.section, option.key)] = value;
    EXPECT_EQ(Restored(stored), Shows({})) << '"' << value << '"';
  }
}

TEST(OptionGroups, SelectingClearsOnlyItsOwnGroupArrowKeysWalkItInScreenOrderAndWrap) {
  MainState state{On({"Check5"}), true};
  SelectController(state, Flag::kJoystick);
  SelectRate(state, *On({"Option4"}).rate);
  EXPECT_EQ(state, Shows({"Check5", "Option2", "Option4"}));
  SelectController(state, Flag::kKeyboard);
  SelectRate(state, *On({"Option6"}).rate);
  EXPECT_EQ(state, Shows({"Check5", "Option1", "Option6"}, false));
  SelectController(state, Flag::kJoystick);
  EXPECT_EQ(state, Shows({"Check5", "Option2", "Option6"}));
  for (const Names& group : {Names{"Option5", "Option3", "Option4", "Option6"},  // top to bottom
                             Names{"Option1", "Option2"}}) {
    const std::size_t n = group.size();
    for (std::size_t i = 0; i < n; ++i)
      for (int step : {+1, -1})
        EXPECT_EQ(NextInGroup(IdOf(group[i]), step), IdOf(group[(i + n + step) % n])) << group[i];
  }
  for (std::string_view name : {"Check1", "Command3", "Label5", "File1", "Image1"})
    EXPECT_EQ(NextInGroup(IdOf(name), +1), std::nullopt) << name;
}

// "Scanlines", "Scaled Display", sound "Enabled", "VSync", "Joystick" and "22.050Hz".
MainOptions WorkedExample() {
  return On({"Check1", "Check4", "Check5", "Check8", "Option2", "Option4"});
}

TEST(Launch, CommandLineInLaunchOrderQuotedOnlyForBlanksAndWritesOfEveryOption) {
  using Case = std::tuple<MainOptions, const char16_t*, const char*, const char*, const char16_t*>;
  const Case cases[] = {
      {WorkedExample(), u"demo.sms", "sidewinder ", "640 480 ",
       u"kx demo.sms -scanlines -scale -joy sidewinder -sound -sndrate 22050 -vsync "
       u"-res 640 480 "},  // 88 characters
      {{}, u"game.gg", "", "800×600 ", u"kx game.gg -res 800×600 "},
      // The other options: the keyboard adds nothing and the stored type is not used.
      {On({"Check2", "Check6", "Option1", "Check7", "Check9", "Option6"}), u"Rain Over Tallow.GG",
       "auto ", "320 200 ",
       u"kx \"Rain Over Tallow.GG\" -blur -expand -sndrate 44100 -nommx -throttle "
       u"-res 320 200 "},
      {On({"Check1", "Check2", "Check4", "Check6", "Option1", "Option2", "Check5", "Option3",
           "Check7", "Check8", "Check9"}),
       u"Åsgrim Ödeland.sms", "gamepdpro ", "1024 860 ",
       u"kx \"Åsgrim Ödeland.sms\" -scanlines -blur -scale -expand -joy gamepdpro -sound "
       u"-sndrate 11025 -nommx -vsync -throttle -res 1024 860 "},
      // No stored type: "-joy " runs straight into the next fragment. An unpaired surrogate stays.
      {On({"Option2", "Check5", "Option5"}), u"ÉT\xD800É.gg", "", "",
       u"kx ÉT\xD800É.gg -joy -sound -sndrate 8000 -res "},
      // A stored value that is not UTF-8 (a file saved in a code page) cannot be passed on.
      {On({"Option2"}), u"a.gg", "\xe9t\xe9 ", "640 480 ", nullptr},
      {{},
       u"a.gg",
       "",
       "800\xd7"
       "600 ",
       nullptr}};
  for (const auto& [options, file, joystick, resolution, line] : cases)
    EXPECT_EQ(LaunchCommandLine(options, file, joystick, resolution),
              line ? std::optional<std::u16string>(line) : std::nullopt);
  const std::vector<SettingWrite> worked = {
      {"Video", "scanlines", "1"}, {"Video", "blur", "0"},        {"Video", "scale", "1"},
      {"Video", "expand", "0"},    {"Controls", "keyboard", "0"}, {"Controls", "joystick", "1"},
      {"Sound", "enabled", "1"},   {"Sound", "rate", "22050"},    {"Other", "nommx", "0"},
      {"Other", "vsync", "1"},     {"Other", "throttle", "0"}};
  EXPECT_EQ(LaunchWrites(WorkedExample()), worked);
  std::vector<SettingWrite> nothing_on = worked;
  for (SettingWrite& write : nothing_on) write.value = write.key == "rate" ? "8000" : "0";
  EXPECT_EQ(LaunchWrites({}), nothing_on);
}

// "Load and Run" over settings that hold the joystick type "grip4 " and the
// resolution "800 600 ": the values it reads, and its plan.
TEST(PlanLaunch, ReadsWhatTheLineNeedsAndPlansEveryWriteAndWithoutAFileNothing) {
  std::string reads;
  const SettingReader read = [&](std::string_view section, std::string_view key) {
    reads += KeyOf(section, key) + " ";
    return std::string(section == "Joystick" ? "grip4 " : "800 600 ");
  };
  EXPECT_EQ(PlanLaunch(WorkedExample(), u"C:\\Games", u"", read), std::nullopt);
  EXPECT_EQ(reads, "");
  for (const MainOptions& options : {WorkedExample(), On({"Option1", "Check9"}), MainOptions{}}) {
    const bool joystick = options[Flag::kJoystick];
    reads.clear();
    EXPECT_EQ(PlanLaunch(options, u"C:\\Games", u"Quiet Harbour.sms", read),
              (LaunchPlan{LaunchCommandLine(options, u"Quiet Harbour.sms", joystick ? "grip4 " : "",
                                            "800 600 "),
                          LaunchWrites(options), "C:\\Games\\Quiet Harbour.sms"}));
    EXPECT_EQ(reads, joystick ? "Joystick/type Video/res " : "Video/res ");
    // The writes leave both values alone, so reading before them is reading after them.
    for (const SettingWrite& write : LaunchWrites(options))
      EXPECT_EQ(std::string(" Joystick/type Video/res ")
                    .find(" " + KeyOf(write.section, write.key) + " "),
                std::string::npos);
  }
}

}  // namespace
}  // namespace quorvel::launcher
