// The settings store on real Win32 files: in the real program when the file
// cannot be read or written, and in this process against Windows' own profile
// functions.
#include <gtest/gtest.h>

#include "launcher/main_layout.h"
#include "settings/settings_file.h"
#include "settings/win32/win32_file_ops.h"
#include "tests/wine/test_util.h"

namespace quorvel::test {
namespace {

// A folder in the file's place can never be read; a file another program holds
// open alone is tried again for half a second before it counts as unreadable.
TEST(SettingsStore, UnreadableFileEndsTheProgramWithItsMessage) {
  for (const bool held : {false, true}) {
    SCOPED_TRACE(held ? "held by another program" : "a folder");
    QuorvelFolder folder;
    win::UniqueFile holder;
    if (held) {
      folder.WriteSettings("[Video]\r\nscanlines=1\r\n");
      holder.reset(::CreateFileW(folder.settings_path().c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    }
    ASSERT_TRUE(held ? bool(holder) : std::filesystem::create_directory(folder.settings_path()));
    const auto start = std::chrono::steady_clock::now();
    RunningQuorvel app(folder);
    EXPECT_TRUE(!held || std::chrono::steady_clock::now() - start >= 450ms) << "not tried again";
    EXPECT_EQ(app.window(), nullptr);
    EXPECT_EQ(app.AnswerMessageBox(), L"Errr in INI File");
    EXPECT_NE(app.Close().value_or(0), 0u);
  }
}

TEST(SettingsStore, FailedWriteIsToldOnceAndTheLaunchGoesOn) {
  QuorvelFolder folder({L"demo.sms"});
  const std::string before = "[Video]\r\nscanlines=1\r\n";
  folder.WriteSettings(before);
  // The temporary file cannot be made where a folder of that name stands.
  ASSERT_TRUE(std::filesystem::create_directory(folder.settings_path() + L".tmp"));
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  Send(app.Item(launcher::kIdFile1), LB_SETCURSEL, 0);
  ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
  const std::wstring told = app.AnswerMessageBox().value_or(L"(no box)");
  const std::wstring where =
      L"Your settings cannot be saved to\n" + folder.settings_path() + L"\n\n";
  EXPECT_TRUE(told.starts_with(where)) << Narrow(told);
  EXPECT_GT(told.size(), where.size()) << "the system's reason is missing";
  // The other twelve writes fail too, untold: a second box would hold up kx.
  EXPECT_EQ(folder.WaitForRecords(1).size(), 1u);
  EXPECT_EQ(folder.Settings(), before);
}

// Our writer and reader against Windows' own profile functions, both ways, with
// a temporary file that a write cut short left behind, neither read nor in the way.
TEST(SettingsStore, AgreesWithTheSystemProfileFunctions) {
  QuorvelFolder folder;
  const std::wstring ini = folder.images() + L"\\quorvel.ini";  // an ANSI path
  const std::string path = Narrow(ini);
  WriteFileBytes(ini + L".tmp", "[Peer]\r\nours=half-writ");
  settings::Win32FileOps files;
  const auto system_read = [&](const char* key) {
    char buffer[80] = {};
    ::GetPrivateProfileStringA("Peer", key, "<none>", buffer, 80, path.c_str());
    return std::string(buffer);
  };
  EXPECT_EQ(settings::ReadValue(files, path, "Peer", "ours").value, "");
  for (const std::string value :
       {"", " 1", "01", "  two leading", "\"quoted\"", "'single'", "640 480 ", "auto "}) {
    ASSERT_EQ(settings::WriteValue(files, path, "Peer", "ours", value), 0u);
    EXPECT_EQ(system_read("ours"), value);
  }
  EXPECT_FALSE(std::filesystem::exists(ini + L".tmp") || std::filesystem::exists(ini + L".lock"));
  // What Windows' writer stores, our reader reads as Windows' reader does (but
  // for unquoted edge blanks, which ours keeps), and the rest stays ours.
  for (const char* value : {"1", "x=y", "segapci", "\"gamepdpro \""}) {
    ASSERT_TRUE(::WritePrivateProfileStringA("Peer", "theirs", value, path.c_str()));
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
    const settings::ReadResult read = settings::ReadValue(files, path, "Peer", "theirs");
    EXPECT_TRUE(read.ok && read.value == system_read("theirs")) << value;
    EXPECT_EQ(settings::ReadValue(files, path, "Peer", "ours").value, "auto ") << "ours kept";
  }
  EXPECT_EQ(settings::ReadValue(files, path, "Peer", "theirs").value, "gamepdpro ");
}

}  // namespace
}  // namespace quorvel::test
