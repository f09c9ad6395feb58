// The settings store on real Win32 files: in the real program when the file
// cannot be read or written, and in this process for writers side by side,
// the leftovers of an interrupted write, and the agreement with Windows' own
// profile functions.
#include <gtest/gtest.h>

#include <thread>

#include "launcher/main_layout.h"
#include "settings/ini_text.h"
#include "settings/settings_file.h"
#include "settings/win32/win32_file_ops.h"
#include "tests/wine/test_util.h"

namespace quorvel::test {
namespace {

TEST(SettingsStore, UnreadableFileEndsTheProgramWithItsMessage) {
  // A folder in the file's place can never be read. A file that another
  // program holds open alone is tried again for half a second (25 pauses of
  // 20 ms) before it counts as unreadable.
  for (const bool held : {false, true}) {
    SCOPED_TRACE(held ? "held by another program" : "a folder");
    QuorvelFolder folder;
    win::UniqueFile holder;
    if (held) {
      folder.WriteSettings("[Video]\r\nscanlines=1\r\n");
      holder.reset(::CreateFileW(folder.settings_path().c_str(), GENERIC_READ, 0, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(holder);
    } else {
      ASSERT_TRUE(std::filesystem::create_directory(folder.settings_path()));
    }
    const auto start = std::chrono::steady_clock::now();
    RunningQuorvel app(folder);
    EXPECT_TRUE(!held || std::chrono::steady_clock::now() - start >= 450ms) << "not tried again";
    EXPECT_EQ(app.window(), nullptr);
    EXPECT_EQ(AnswerMessageBox(app.process_id(), 10s), L"Errr in INI File");
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
  const std::wstring told = AnswerMessageBox(app.process_id(), 15s).value_or(L"(no box)");
  const std::wstring where =
      L"Your settings cannot be saved to\n" + folder.settings_path() + L"\n\n";
  EXPECT_TRUE(told.starts_with(where)) << Narrow(told);
  EXPECT_GT(told.size(), where.size()) << "the system's reason is missing";
  // The other twelve writes fail too, untold: a second box would hold up kx.
  EXPECT_EQ(folder.WaitForRecords(1).size(), 1u);
  EXPECT_EQ(folder.Settings(), before);
}

// Beyond the native threads over POSIX files: the lock file made with
// CREATE_NEW and deleted on close, and replacements meeting other readers'
// handles. Both act per handle, so threads with handles of their own meet
// them as separate programs would.
TEST(SettingsStore, WritersWithHandlesOfTheirOwnLoseNoUpdate) {
  TempDir dir;
  const std::string path = Narrow(dir / L"quorvel.ini");
  constexpr int kWriters = 6, kKeysEach = 10;
  const auto key = [](int w, int k) { return "k" + std::to_string(w) + "_" + std::to_string(k); };
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w)
    writers.emplace_back([&, w] {
      settings::Win32FileOps files;
      for (int k = 0; k < kKeysEach; ++k)
        EXPECT_EQ(settings::WriteValue(files, path, "Race", key(w, k), key(w, k) + " "), 0u);
    });
  for (std::thread& writer : writers) writer.join();
  const std::string file = ReadFileBytes(Widen(path));
  for (int w = 0; w < kWriters; ++w)
    for (int k = 0; k < kKeysEach; ++k)
      EXPECT_EQ(ini::FindValue(file, "Race", key(w, k)), key(w, k) + " ");
  EXPECT_FALSE(FileExists(Widen(path) + L".lock"));
}

TEST(SettingsStore, LeftoverTemporaryFileIsIgnoredThenReplaced) {
  TempDir dir;
  settings::Win32FileOps files;
  const std::wstring ini = dir / L"quorvel.ini";
  WriteFileBytes(ini, "[Video]\r\nres=\"320 200 \"\r\n");
  WriteFileBytes(ini + L".tmp", "[Video]\r\nres=half-writ");  // a write cut short
  EXPECT_EQ(settings::ReadValue(files, Narrow(ini), "Video", "res").value, "320 200 ");
  ASSERT_EQ(settings::WriteValue(files, Narrow(ini), "Video", "blur", "1"), 0u);
  EXPECT_FALSE(FileExists(ini + L".tmp"));
  EXPECT_FALSE(FileExists(ini + L".lock"));
  EXPECT_EQ(ReadFileBytes(ini), "[Video]\r\nres=\"320 200 \"\r\nblur=1\r\n");
}

// Our writer and reader against Windows' own profile functions, both ways.
TEST(SettingsStore, AgreesWithTheSystemProfileFunctions) {
  TempDir dir;
  const std::string path = Narrow(dir / L"quorvel.ini");
  settings::Win32FileOps files;
  const auto system_read = [&](const std::string& key) {
    char buffer[80] = {};
    ::GetPrivateProfileStringA("Peer", key.c_str(), "<none>", buffer, 80, path.c_str());
    return std::string(buffer);
  };
  for (const std::string value :
       {"", " 1", "01", "  two leading", "\"quoted\"", "'single'", "640 480 ", "auto "}) {
    ASSERT_EQ(settings::WriteValue(files, path, "Peer", "ours", value), 0u);
    EXPECT_EQ(system_read("ours"), value);
  }
  // What Windows' writer stores, our reader reads as Windows' reader does, and
  // the rest of the file stays ours. (Unquoted edge blanks differ: Windows'
  // reader trims them, ours keeps them.)
  for (const std::string value : {"1", "x=y", "segapci", "\"gamepdpro \""}) {
    ASSERT_TRUE(::WritePrivateProfileStringA("Peer", "theirs", value.c_str(), path.c_str()));
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
    const settings::ReadResult read = settings::ReadValue(files, path, "Peer", "theirs");
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.value, system_read("theirs")) << value;
    EXPECT_EQ(settings::ReadValue(files, path, "Peer", "ours").value, "auto ") << "ours kept";
  }
  EXPECT_EQ(settings::ReadValue(files, path, "Peer", "theirs").value, "gamepdpro ");
}

}  // namespace
}  // namespace quorvel::test
