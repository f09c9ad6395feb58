// The launch's writes and command line as plain values.
#include "launcher/launch_command.h"

#include <gtest/gtest.h>

namespace quorvel::launcher {
namespace {

MainOptions WorkedExample() {
  MainOptions options;
  options[Flag::kScanlines] = true;
  options[Flag::kScale] = true;
  options[Flag::kSound] = true;
  options[Flag::kVSync] = true;
  options[Flag::kJoystick] = true;
  options.rate = 1;  // 22.050Hz
  return options;
}

TEST(LaunchCommandLine, WorkedExamplesByteForByte) {
  const std::string line = LaunchCommandLine(WorkedExample(), "demo.sms", "sidewinder ", "640 480 ");
  EXPECT_EQ(line,
            "kx demo.sms -scanlines -scale -joy sidewinder -sound -sndrate 22050 -vsync -res 640 480 ");
  EXPECT_EQ(line.size(), 88u);
  EXPECT_EQ(LaunchCommandLine({}, "game.gg", "", ""), "kx game.gg -res ");
}

TEST(LaunchCommandLine, EveryOptionInItsPlace) {
  MainOptions all;
  all.flags.fill(true);
  all.rate = 3;
  // Keyboard and joystick are one group in the window; here both are on to
  // show that the keyboard adds nothing and the joystick adds its type.
  EXPECT_EQ(LaunchCommandLine(all, "a.sms", "auto ", "1024 860 "),
            "kx a.sms -scanlines -blur -scale -expand -joy auto -sound -sndrate 44100 -nommx "
            "-vsync -throttle -res 1024 860 ");
}

TEST(LaunchCommandLine, StoredValuesAreTakenAsTheyStand) {
  MainOptions joystick;
  joystick[Flag::kJoystick] = true;
  joystick[Flag::kSound] = true;
  // No stored type: "-joy " runs straight into the next fragment.
  EXPECT_EQ(LaunchCommandLine(joystick, "x.gg", "", ""), "kx x.gg -joy -sound -res ");

  MainOptions keyboard;
  keyboard[Flag::kKeyboard] = true;
  EXPECT_EQ(LaunchCommandLine(keyboard, "x.gg", "sidewinder ", "320 200 "),
            "kx x.gg -res 320 200 ");
}

TEST(LaunchCommandLine, RateFragmentsFollowTheButtons) {
  const char* expected[] = {"-sndrate 11025 ", "-sndrate 22050 ", "-sndrate 8000 ",
                            "-sndrate 44100 "};
  for (size_t i = 0; i < kRateOptions.size(); ++i) {
    MainOptions options;
    options.rate = i;
    EXPECT_EQ(LaunchCommandLine(options, "r.sms", "", ""),
              std::string("kx r.sms ") + expected[i] + "-res ");
  }
}

TEST(RomArgument, QuotesOnlyNamesWithBlanks) {
  EXPECT_EQ(RomArgument(""), "");
  EXPECT_EQ(RomArgument("demo.sms"), "demo.sms ");
  EXPECT_EQ(RomArgument("my game.sms"), "\"my game.sms\" ");
  EXPECT_EQ(RomArgument("\xe6\x97\xa5\xe6\x9c\xac.GG"), "\xe6\x97\xa5\xe6\x9c\xac.GG ");
  EXPECT_EQ(LaunchCommandLine({}, "my game.sms", "", ""), "kx \"my game.sms\" -res ");
}

TEST(LaunchWrites, WorkedExampleInOrder) {
  const std::vector<SettingWrite> expected = {
      {"Video", "scanlines", "1"},   {"Video", "blur", "0"},       {"Video", "scale", "1"},
      {"Video", "expand", "0"},      {"Controls", "keyboard", "0"}, {"Controls", "joystick", "1"},
      {"Sound", "enabled", "1"},     {"Sound", "rate", "22050"},   {"Other", "nommx", "0"},
      {"Other", "vsync", "1"},       {"Other", "throttle", "0"}};
  EXPECT_EQ(LaunchWrites(WorkedExample()), expected);
}

TEST(LaunchWrites, NothingOnWritesZerosAndTheDefaultRate) {
  const std::vector<SettingWrite> writes = LaunchWrites({});
  ASSERT_EQ(writes.size(), 11u);
  for (const SettingWrite& write : writes) {
    if (write.key == "rate")
      EXPECT_EQ(write.value, "8000");
    else
      EXPECT_EQ(write.value, "0") << write.key;
  }
  // The dialogs' keys are never written by a launch.
  for (const SettingWrite& write : writes) {
    EXPECT_NE(write.key, "type");
    EXPECT_NE(write.key, "res");
  }
}

}  // namespace
}  // namespace quorvel::launcher
