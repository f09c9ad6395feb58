// The settings store in real processes under Wine: where the file lives, what
// happens when it cannot be read or written, concurrent writers, and the
// agreement with Windows' own profile functions.
#include <gtest/gtest.h>

#include <thread>

#include "settings/settings_file.h"
#include "settings/win32/win32_file_ops.h"
#include "tests/wine/wine_test_util.h"

namespace quorvel::test {
namespace {

// A folder with its own copy of the probe, so it has a settings file of its own.
struct ProbeFolder {
  explicit ProbeFolder(const std::wstring& subfolder = L"") {
    folder = dir.path();
    if (!subfolder.empty()) {
      folder = dir / subfolder;
      ::CreateDirectoryW(folder.c_str(), nullptr);
    }
    const std::wstring copy = folder + L"\\probe.exe";
    ::CopyFileW((BinDirectory() + L"\\probe.exe").c_str(), copy.c_str(), FALSE);
    probe = copy;
  }
  std::wstring Ini() const { return folder + L"\\quorvel.ini"; }
  RunResult Probe(const std::wstring& arguments, const std::function<void(DWORD)>& during = {},
                  const std::wstring& cwd = L"") const {
    return RunProgram(probe, arguments, cwd.empty() ? folder : cwd, during);
  }
  std::string Read(const std::wstring& section, const std::wstring& key) const {
    return Probe(L"read " + Quote(section) + L" " + Quote(key)).output;
  }

  TempDir dir;
  std::wstring folder;
  std::wstring probe;
};

TEST(SettingsStore, LivesBesideTheProgramWhateverTheCurrentFolder) {
  // A folder name outside the ANSI code page, with blanks in it.
  ProbeFolder program(L"Spi\u00eble \u65e5\u672c \u2603");
  TempDir elsewhere;

  const RunResult path = program.Probe(L"path", {}, elsewhere.path());
  EXPECT_EQ(path.output, Narrow(program.Ini()) + "\n");

  const RunResult write =
      program.Probe(L"write Video res " + Quote(L"640 480 "), {}, elsewhere.path());
  EXPECT_EQ(write.output, "done\n");
  EXPECT_TRUE(FileExists(program.Ini()));
  EXPECT_FALSE(FileExists(elsewhere / L"quorvel.ini"));
  EXPECT_EQ(program.Probe(L"read Video res", {}, elsewhere.path()).output, "[640 480 ]\n");
}

TEST(SettingsStore, ReadsBackExactlyAndCutsLongValues) {
  ProbeFolder program;
  const std::wstring long_value(100, L'x');
  program.Probe(L"write Joystick type " + Quote(L"auto ") + L" Video res " + Quote(L"1024 860 ") +
                L" Other nommx " + Quote(long_value) + L" Joystick type gamepdpro ");
  EXPECT_EQ(program.Read(L"Joystick", L"type"), "[gamepdpro]\n");
  EXPECT_EQ(program.Read(L"Video", L"res"), "[1024 860 ]\n");
  EXPECT_EQ(program.Read(L"Other", L"nommx"), "[" + std::string(79, 'x') + "]\n");
  EXPECT_EQ(program.Read(L"Other", L"missing"), "[]\n");
  EXPECT_EQ(program.Read(L"Missing", L"type"), "[]\n");
  // One line per key: the second write of "type" replaced the first in place.
  const std::string file = ReadFileBytes(program.Ini());
  EXPECT_EQ(file.find("type="), file.rfind("type="));
}

TEST(SettingsStore, MissingFileReadsEmptyAndCreatesNothing) {
  ProbeFolder program;
  EXPECT_EQ(program.Read(L"Video", L"scanlines"), "[]\n");
  EXPECT_FALSE(FileExists(program.Ini()));
}

TEST(SettingsStore, UnreadableFileEndsTheProgramWithItsMessage) {
  ProbeFolder program;
  // A folder where the file should be: it exists but cannot be read as a file.
  ASSERT_TRUE(::CreateDirectoryW(program.Ini().c_str(), nullptr));
  std::wstring text;
  const RunResult run = program.Probe(L"read Video scanlines", [&](DWORD process) {
    HWND box = WaitForMessageBox(process);
    if (!box) return;
    text = MessageBoxText(box);
    PressOk(box);
  });
  EXPECT_EQ(text, L"Errr in INI File");
  EXPECT_TRUE(run.finished);
  EXPECT_NE(run.exit_code, 0u);
  EXPECT_EQ(run.output, "") << "the program must end before it prints the value";
}

TEST(SettingsStore, FileHeldByAnotherProgramIsReadOnceReleased) {
  ProbeFolder program;
  WriteFileBytes(program.Ini(), "[Video]\r\nscanlines=1\r\n");
  HANDLE held = ::CreateFileW(program.Ini().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  bool box_seen = false;
  const RunResult run = program.Probe(L"read Video scanlines", [&](DWORD process) {
    ::Sleep(150);
    box_seen = !MessageBoxes(process).empty();
    ::CloseHandle(held);
  });
  EXPECT_FALSE(box_seen);
  EXPECT_EQ(run.output, "[1]\n");
  EXPECT_EQ(run.exit_code, 0u);
}

TEST(SettingsStore, FailedWriteIsToldOnceAndTheRunGoesOn) {
  ProbeFolder program;
  const std::string before = "[Video]\r\nscanlines=1\r\n";
  WriteFileBytes(program.Ini(), before);
  // The temporary file cannot be created where a folder of that name stands.
  ASSERT_TRUE(::CreateDirectoryW((program.Ini() + L".tmp").c_str(), nullptr));
  std::wstring text;
  size_t boxes_after_ok = 99;
  const RunResult run =
      program.Probe(L"write Video scanlines 0 Video blur 1 Sound rate 8000", [&](DWORD process) {
        HWND box = WaitForMessageBox(process);
        if (!box) return;
        text = MessageBoxText(box);
        PressOk(box);
        WaitUntil([&] { return MessageBoxes(process).empty(); }, 5s);
        ::Sleep(300);
        boxes_after_ok = MessageBoxes(process).size();
        for (HWND extra : MessageBoxes(process)) PressOk(extra);
      });
  EXPECT_NE(text.find(L"cannot be saved"), std::wstring::npos) << Narrow(text);
  EXPECT_NE(text.find(program.Ini()), std::wstring::npos) << Narrow(text);
  EXPECT_GT(text.size(), program.Ini().size() + 30) << "the system's reason is missing";
  EXPECT_EQ(boxes_after_ok, 0u) << "a second failure in the same run is not told again";
  EXPECT_EQ(run.output, "done\n");
  EXPECT_EQ(run.exit_code, 0u);
  EXPECT_EQ(ReadFileBytes(program.Ini()), before);
}

TEST(SettingsStore, LeftoverTemporaryFileIsIgnoredThenCleanedUp) {
  ProbeFolder program;
  WriteFileBytes(program.Ini(), "[Video]\r\nres=\"320 200 \"\r\n");
  WriteFileBytes(program.Ini() + L".tmp", "[Video]\r\nres=half-writ");
  EXPECT_EQ(program.Read(L"Video", L"res"), "[320 200 ]\n");
  program.Probe(L"write Video blur 1");
  EXPECT_FALSE(FileExists(program.Ini() + L".tmp"));
  EXPECT_FALSE(FileExists(program.Ini() + L".lock"));
  EXPECT_EQ(program.Read(L"Video", L"res"), "[320 200 ]\n");
  EXPECT_EQ(program.Read(L"Video", L"blur"), "[1]\n");
}

TEST(SettingsStore, ConcurrentWritersLoseNoUpdate) {
  ProbeFolder program;
  constexpr int kWriters = 6;
  constexpr int kKeysEach = 6;
  std::vector<std::thread> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.emplace_back([&, w] {
      std::wstring arguments = L"write";
      for (int k = 0; k < kKeysEach; ++k)
        arguments += L" Race k" + std::to_wstring(w) + L"_" + std::to_wstring(k) + L" v" +
                     std::to_wstring(w * 100 + k);
      program.Probe(arguments);
    });
  }
  for (std::thread& writer : writers) writer.join();
  const std::string file = ReadFileBytes(program.Ini());
  for (int w = 0; w < kWriters; ++w)
    for (int k = 0; k < kKeysEach; ++k) {
      const std::string line = "k" + std::to_string(w) + "_" + std::to_string(k) + "=v" +
                               std::to_string(w * 100 + k) + "\r\n";
      EXPECT_NE(file.find(line), std::string::npos) << line;
    }
}

// Our writer and reader against Windows' own profile functions, both ways.
TEST(SettingsStore, AgreesWithTheSystemProfileFunctions) {
  TempDir dir;
  const std::string path = Narrow(dir / L"quorvel.ini");
  settings::Win32FileOps files;
  const std::vector<std::string> values = {"auto ", "640 480 ", "1", "0", " 1", "01",
                                           "sidewinder ", "  two leading", "\"quoted\"", "'single'", ""};
  for (size_t i = 0; i < values.size(); ++i)
    ASSERT_EQ(settings::WriteValue(files, path, "Peer", "ours" + std::to_string(i), values[i]), 0u);

  for (size_t i = 0; i < values.size(); ++i) {
    char buffer[80] = {};
    const std::string key = "ours" + std::to_string(i);
    ::GetPrivateProfileStringA("Peer", key.c_str(), "<none>", buffer, 80, path.c_str());
    EXPECT_EQ(std::string(buffer), values[i]) << key;
  }

  // What Windows' writer stores, our reader reads as Windows' reader does
  // (Wine's writer drops edge blanks, which a quoted value keeps).
  const std::vector<std::string> theirs = {"auto ", "640 480 ", "1", " 1", "x=y",
                                           "segapci", "\"gamepdpro \""};
  for (size_t i = 0; i < theirs.size(); ++i) {
    const std::string key = "theirs" + std::to_string(i);
    ASSERT_TRUE(::WritePrivateProfileStringA("Peer", key.c_str(), theirs[i].c_str(), path.c_str()));
  }
  ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
  for (size_t i = 0; i < theirs.size(); ++i) {
    const std::string key = "theirs" + std::to_string(i);
    char buffer[80] = {};
    ::GetPrivateProfileStringA("Peer", key.c_str(), "<none>", buffer, 80, path.c_str());
    const settings::ReadResult read = settings::ReadValue(files, path, "Peer", key);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.value, std::string(buffer)) << key;
  }
  EXPECT_EQ(settings::ReadValue(files, path, "Peer", "theirs4").value, "x=y");
  EXPECT_EQ(settings::ReadValue(files, path, "Peer", "theirs6").value, "gamepdpro ");
  // Their rewrite kept ours intact.
  EXPECT_EQ(settings::ReadValue(files, path, "Peer", "ours0").value, "auto ");
}

}  // namespace
}  // namespace quorvel::test
