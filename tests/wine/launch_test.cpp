// "Load and Run" in a real process: the settings it writes, the stand-in
// emulator it starts and what that process receives, and what the user is
// told when there is nothing to start.
#include <gtest/gtest.h>

#include "launcher/launch_command.h"
#include "tests/wine/wine_test_util.h"

namespace quorvel::test {
namespace {

using launcher::Flag;

class Launch : public ::testing::Test {
 protected:
  void SetUp() override {
    probe_ = dir_.CopyProgram(L"probe.exe");
    record_ = dir_ / L"kx-record.txt";
    ::SetEnvironmentVariableW(L"KX_RECORD", record_.c_str());
  }
  void TearDown() override { ::SetEnvironmentVariableW(L"KX_RECORD", nullptr); }

  static std::wstring FlagString(const launcher::MainOptions& options) {
    std::wstring flags;
    for (bool on : options.flags) flags += on ? L'1' : L'0';
    return flags;
  }

  RunResult RunLaunch(const std::wstring& file, const launcher::MainOptions& options,
                      const std::function<void(DWORD)>& during = {}) {
    const std::wstring rate = options.rate ? std::to_wstring(*options.rate) : L"-";
    return RunProgram(probe_, L"launch " + Quote(file) + L" " + FlagString(options) + L" " + rate,
               dir_.path(), during);
  }

  // The stand-in runs on its own; wait until it has recorded `count` starts.
  std::vector<KxRecord> WaitForRecords(size_t count) {
    std::vector<KxRecord> records;
    WaitUntil([&] {
      records = ReadKxRecords(record_);
      return records.size() >= count;
    });
    return records;
  }

  TempDir dir_;
  std::wstring probe_;
  std::wstring record_;
};

TEST_F(Launch, StartsTheEmulatorWithTheBuiltCommandLine) {
  dir_.CopyProgram(L"kx.exe");
  WriteFileBytes(dir_ / L"quorvel.ini",
                 "[Joystick]\r\ntype=\"sidewinder \"\r\n[Video]\r\nres=\"640 480 \"\r\n");
  launcher::MainOptions options;
  options[Flag::kScanlines] = options[Flag::kScale] = options[Flag::kSound] = true;
  options[Flag::kVSync] = options[Flag::kJoystick] = true;
  options.rate = 1;  // 22.050Hz

  const RunResult run = RunLaunch(L"demo.sms", options);
  EXPECT_EQ(run.output, "done\n");
  const std::vector<KxRecord> records = WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].command_line,
            "kx demo.sms -scanlines -scale -joy sidewinder -sound -sndrate 22050 -vsync -res "
            "640 480 ");
  EXPECT_EQ(records[0].command_line,
            launcher::LaunchCommandLine(options, "demo.sms", "sidewinder ", "640 480 "));
  EXPECT_EQ(records[0].directory, Narrow(dir_.path()));

  // Every option was stored before the start, the stored values kept.
  const std::string ini = ReadFileBytes(dir_ / L"quorvel.ini");
  for (const char* line : {"scanlines=1\r\n", "blur=0\r\n", "scale=1\r\n", "expand=0\r\n",
                           "keyboard=0\r\n", "joystick=1\r\n", "enabled=1\r\n", "rate=22050\r\n",
                           "nommx=0\r\n", "vsync=1\r\n", "throttle=0\r\n",
                           "type=\"sidewinder \"\r\n", "res=\"640 480 \"\r\n"})
    EXPECT_NE(ini.find(line), std::string::npos) << line;
}

TEST_F(Launch, EmptySettingsGiveTheShortestLineAndTwoLaunchesAgree) {
  dir_.CopyProgram(L"kx.exe");
  RunLaunch(L"game.gg", {});
  RunLaunch(L"game.gg", {});
  const std::vector<KxRecord> records = WaitForRecords(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].command_line, "kx game.gg -res ");
  EXPECT_EQ(records[1].command_line, "kx game.gg -res ");
  EXPECT_NE(ReadFileBytes(dir_ / L"quorvel.ini").find("rate=8000\r\n"), std::string::npos);
}

TEST_F(Launch, FileNamesWithBlanksAndOutsideTheAnsiCodePageArriveWhole) {
  dir_.CopyProgram(L"kx.exe");
  const std::wstring name = L"Sonic \u00e9t\u00e9 \u65e5\u672c \u2603.sms";
  RunLaunch(name, {});
  const std::vector<KxRecord> records = WaitForRecords(1);
  ASSERT_EQ(records.size(), 1u);
  ASSERT_EQ(records[0].argv.size(), 3u) << records[0].command_line;
  EXPECT_EQ(records[0].argv[1], Narrow(name));
  EXPECT_EQ(records[0].argv[2], "-res");
  EXPECT_EQ(records[0].command_line, "kx \"" + Narrow(name) + "\" -res ");
}

TEST_F(Launch, WithoutAFileOnlyTellsTheUser) {
  dir_.CopyProgram(L"kx.exe");
  std::wstring text;
  const RunResult run = RunLaunch(L"", {}, [&](DWORD process) {
    HWND box = WaitForMessageBox(process);
    if (!box) return;
    text = MessageBoxText(box);
    PressOk(box);
  });
  EXPECT_EQ(text, L"Please Select One File to Load!");
  EXPECT_EQ(run.output, "done\n");
  EXPECT_FALSE(FileExists(dir_ / L"quorvel.ini")) << "nothing may be written";
  ::Sleep(200);
  EXPECT_FALSE(FileExists(record_)) << "nothing may be started";
}

TEST_F(Launch, MissingEmulatorIsToldWithTheReasonAfterTheSettingsAreWritten) {
  std::wstring text;
  const RunResult run = RunLaunch(L"demo.sms", {}, [&](DWORD process) {
    HWND box = WaitForMessageBox(process);
    if (!box) return;
    text = MessageBoxText(box);
    PressOk(box);
  });
  EXPECT_NE(text.find(L"could not be started"), std::wstring::npos) << Narrow(text);
  EXPECT_EQ(run.output, "done\n");
  EXPECT_NE(ReadFileBytes(dir_ / L"quorvel.ini").find("throttle=0"), std::string::npos);
}

}  // namespace
}  // namespace quorvel::test
