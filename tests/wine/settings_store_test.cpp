// The settings store on real Win32 files: in the real program when the file
// cannot be read or written or its folder refuses writes, and in this process
// against Windows' own profile functions and a lock left behind.
#include <gtest/gtest.h>

#include "dialogs/dialog_layouts.h"
#include "dialogs/win32/option_dialog.h"
#include "launcher/main_layout.h"
#include "platform/win32/message.h"
#include "settings/ini_text.h"
#include "settings/settings_file.h"
#include "settings/win32/win32_file_ops.h"
#include "tests/wine/test_util.h"

namespace quorvel::test {
namespace {

void Chmod(const char* mode, const std::wstring& path) {
  RunUnix(L"/bin/chmod " + Widen(mode) + L" \"" + UnixPath(path) + L"\"");
  // start.exe may return before the Unix program is done: wait until Wine
  // sees the owner's write permission as asked (a folder without it reads as
  // read-only).
  const bool read_only = ((mode[0] - '0') & 2) == 0;
  ASSERT_TRUE(WaitUntil(
      [&] {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES &&
               ((attributes & FILE_ATTRIBUTE_READONLY) != 0) == read_only;
      },
      10s))
      << mode;
}

// The settings file held open by this process, as another program would, with the share mode.
win::UniqueFile Hold(const QuorvelFolder& folder, DWORD share) {
  return win::UniqueFile(::CreateFileW(folder.settings_path().c_str(), GENERIC_READ, share, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
}

// In the program: "Scanlines" checked and the first image selected.
void ChooseScanlines(const RunningQuorvel& app) {
  Click(app.Item(launcher::kIdCheck1));
  Send(app.Item(launcher::kIdFile1), LB_SETCURSEL, 0);
}

// A folder in the file's place can never be read; a file another program holds open alone is
// waited for some seconds first. The message names the file and the reason.
TEST(SettingsStore, UnreadableFileEndsTheProgramWithItsMessage) {
  for (const bool held : {false, true}) {
    SCOPED_TRACE(held ? "held by another program" : "a folder");
    QuorvelFolder folder;
    win::UniqueFile holder;
    if (held) {
      folder.WriteSettings("[Video]\r\nscanlines=1\r\n");
      holder = Hold(folder, 0);
    }
    ASSERT_TRUE(held ? bool(holder) : std::filesystem::create_directory(folder.settings_path()));
    const auto start = std::chrono::steady_clock::now();
    RunningQuorvel app(folder);
    EXPECT_EQ(app.window(), nullptr);
    const std::wstring told = app.AnswerMessageBox().value_or(L"(no box)");
    EXPECT_TRUE(!held || std::chrono::steady_clock::now() - start >= 3s) << "not waited for";
    const std::wstring head = L"Errr in INI File\n\n" + folder.settings_path() + L"\n";
    EXPECT_TRUE(told.starts_with(head)) << Narrow(told);
    EXPECT_TRUE(!held || told.find(win::SystemErrorText(ERROR_SHARING_VIOLATION)) == head.size())
        << Narrow(told);
    EXPECT_GT(told.size(), head.size() + 5) << "the reason is missing";
    EXPECT_NE(app.Close().value_or(0), 0u);
  }
}

// While another program holds the file open alone, longer than the program waits: the dialog
// does not open and nothing is launched; the window stays and answers meanwhile, and each
// message names the file. Once the file is free, the next press launches and stores.
TEST(SettingsStore, AFileHeldLongerThanTheWaitIsToldAndTheNextPressWorks) {
  QuorvelFolder folder({L"demo.sms"});
  folder.WriteSettings("[Video]\r\nres=\"640 480 \"\r\n");
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  ChooseScanlines(app);
  win::UniqueFile holder = Hold(folder, 0);
  ASSERT_TRUE(holder);
  for (const int button : {launcher::kIdCommand4, launcher::kIdCommand1}) {
    ::PostMessageW(app.Item(button), BM_CLICK, 0, 0);
    ::Sleep(500);
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(::SendMessageTimeoutW(app.window(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &ignored))
        << "the window does not answer while it waits";
    const std::wstring told = app.AnswerMessageBox().value_or(L"(no box)");
    EXPECT_NE(told.find(L"\n" + folder.settings_path() + L"\n"), std::wstring::npos)
        << Narrow(told);
    EXPECT_NE(told.find(L"Another program"), std::wstring::npos) << Narrow(told);
  }
  EXPECT_TRUE(app.Windows(dialogs::kOptionDialogClass).empty());
  EXPECT_FALSE(std::filesystem::exists(folder.record_path())) << "launched without its settings";
  holder.reset();
  ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
  ASSERT_EQ(folder.WaitForRecords(1).size(), 1u);
  EXPECT_EQ(folder.WaitForRecords(1)[0].command_line, u"kx demo.sms -scanlines -res 640 480 ");
  Send(app.window(), WM_NULL);  // answered in its message loop: the launch has stored the options
  EXPECT_EQ(folder.Setting("Video", "scanlines"), "1");
  EXPECT_TRUE(app.Open(launcher::kIdCommand4, dialogs::kOptionDialogClass,
                       dialogs::kResolutionForm.caption));
}

// Another program holds the file open, sharing it, for longer than the wait (a viewer, a sync
// program): Windows refuses to replace it as it refuses a folder that takes no writes, but it is
// no such folder. The launch goes on, the file is named, the settings stay beside the program,
// and the next press stores them. A second press while the first waits is not carried out after
// it.
TEST(SettingsStore, AFileHeldSharedStaysBesideTheProgramAndAPressDuringTheWaitIsDropped) {
  QuorvelFolder folder({L"demo.sms"});
  folder.WriteSettings("[Video]\r\nscanlines=0\r\n");
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  ChooseScanlines(app);
  win::UniqueFile holder = Hold(folder, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  ASSERT_TRUE(holder);
  ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
  // The new text beside the file: the program waits to put it in the file's place.
  ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(folder.settings_path() + L".tmp"); }));
  ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
  const std::wstring told = app.AnswerMessageBox().value_or(L"(no box)");
  EXPECT_NE(told.find(L"\n" + folder.settings_path() + L"\n"), std::wstring::npos) << Narrow(told);
  EXPECT_NE(told.find(L"Another program"), std::wstring::npos) << Narrow(told);
  // Posted after both presses: once it is carried out, so would a second launch have been.
  ::PostMessageW(app.Item(launcher::kIdCheck2), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(app.Item(launcher::kIdCheck2)); }));
  EXPECT_FALSE(WaitUntil([&] { return folder.WaitForRecords(0).size() > 1; }, 1s))
      << "the press made during the wait was carried out after it";
  EXPECT_EQ(folder.WaitForRecords(1).size(), 1u) << "the launch goes on";
  EXPECT_FALSE(std::filesystem::exists(folder.user_settings_path())) << "moved away";
  EXPECT_EQ(folder.Setting("Video", "scanlines"), "0");

  holder.reset();
  ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
  EXPECT_EQ(folder.WaitForRecords(2).size(), 2u);
  Send(app.window(), WM_NULL);  // answered in its message loop: the launch has stored the options
  EXPECT_EQ(folder.Setting("Video", "scanlines"), "1");
  EXPECT_EQ(folder.Setting("Video", "blur"), "1");
  EXPECT_EQ(app.Windows(L"#32770").size(), 0u);
  EXPECT_FALSE(std::filesystem::exists(folder.user_settings_path()));
}

// A program folder that refuses writes (the prefix's server gives up root's right to override
// file permissions): the settings move to that folder's per-user file, nothing is lost or
// waited for, and the move is told once, with both files. Another copy of the program, in a
// folder that takes writes, keeps its own file.
TEST(SettingsStore, AReadOnlyProgramFolderHasAPerUserFileOfItsOwn) {
  QuorvelFolder folder({L"demo.sms"});
  const std::string before = "; kept\r\n[Video]\r\nblur=1\r\n";
  folder.WriteSettings(before);
  Chmod("555", folder.program_folder());
  struct Writable {
    std::wstring path;
    ~Writable() { Chmod("755", path); }
  } writable{folder.program_folder()};
  ASSERT_FALSE(::CreateDirectoryW((folder.program_folder() + L"\\probe").c_str(), nullptr))
      << "the folder takes writes: is the Wine server running with root's full rights?";
  const auto launch = [](const RunningQuorvel& app, const QuorvelFolder& in, size_t count) {
    Send(app.Item(launcher::kIdFile1), LB_SETCURSEL, 0);
    ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
    EXPECT_EQ(in.WaitForRecords(count).size(), count);
  };
  {
    RunningQuorvel app(folder);
    ASSERT_TRUE(app.window());
    EXPECT_TRUE(IsChecked(app.Item(launcher::kIdCheck2)));
    Click(app.Item(launcher::kIdCheck1));
    launch(app, folder, 1);
    const std::wstring told = app.AnswerMessageBox().value_or(L"(no box)");
    for (const std::wstring& path : {folder.settings_path(), folder.user_settings_path()})
      EXPECT_NE(told.find(L"\n" + path + L"\n"), std::wstring::npos) << Narrow(told);
    launch(app, folder, 2);
    Send(app.window(), WM_NULL);  // answered in its message loop: the launch is over
    EXPECT_EQ(app.Windows(L"#32770").size(), 0u) << "told again";
    EXPECT_EQ(app.Close(), DWORD{0});
  }
  const std::string user = ReadFileBytes(folder.user_settings_path());
  EXPECT_TRUE(user.starts_with("; kept\r\n[Video]\r\nblur=1\r\n")) << user;
  EXPECT_EQ(ini::FindValue(user, "Video", "scanlines"), "1");
  EXPECT_EQ(folder.Settings(), before);
  {
    RunningQuorvel again(folder);
    ASSERT_TRUE(again.window());
    EXPECT_TRUE(IsChecked(again.Item(launcher::kIdCheck1)) &&
                IsChecked(again.Item(launcher::kIdCheck2)));
  }
  QuorvelFolder other({L"demo.sms"});  // for the same user
  ::SetEnvironmentVariableW(L"LOCALAPPDATA", folder.local_app_data().c_str());
  other.WriteSettings("[Video]\r\nscanlines=0\r\nscale=1\r\n");
  RunningQuorvel second(other);
  ASSERT_TRUE(second.window());
  EXPECT_FALSE(IsChecked(second.Item(launcher::kIdCheck1)) ||
               IsChecked(second.Item(launcher::kIdCheck2)));
  EXPECT_TRUE(IsChecked(second.Item(launcher::kIdCheck4)));
  launch(second, other, 1);
  Send(second.window(), WM_NULL);
  EXPECT_EQ(second.Windows(L"#32770").size(), 0u) << "nothing to tell: the settings were kept";
  EXPECT_EQ(other.Setting("Video", "scale"), "1");
  EXPECT_EQ(other.Setting("Controls", "keyboard"), "0");
  EXPECT_EQ(ReadFileBytes(folder.user_settings_path()), user);
}

// A per-user file is named after the folder itself: the read-only program folder started as
// itself and through a drive letter mapped to its parent keeps one file. A file that an earlier
// version named after the path as given is used while it is the only one.
TEST(SettingsStore, OneFolderReachedTwoWaysKeepsOnePerUserFileAndAnEarlierOneIsFound) {
  QuorvelFolder folder({L"demo.sms"});
  const std::string local = Narrow(folder.local_app_data()),
                    given = Narrow(folder.program_folder());
  const std::wstring earlier =
      Widen(settings::UserSettingsPath(local, given, settings::AsciiFoldedKey(given)));
  std::filesystem::create_directories(std::filesystem::path(earlier).parent_path());
  WriteFileBytes(earlier, "[Video]\r\nblur=1\r\n");
  {
    RunningQuorvel app(folder);
    ASSERT_TRUE(app.window());
    EXPECT_TRUE(IsChecked(app.Item(launcher::kIdCheck2))) << "the earlier file was not read";
  }
  std::filesystem::remove_all(folder.local_app_data());

  const std::filesystem::path program(folder.program_folder());
  const MappedDrive drive(L"R:", program.parent_path());
  Chmod("555", folder.program_folder());
  struct Writable {
    std::wstring path;
    ~Writable() { Chmod("755", path); }
  } writable{folder.program_folder()};
  for (const std::wstring& through :
       {folder.program_folder(), L"R:\\" + program.filename().wstring()}) {
    SCOPED_TRACE(Narrow(through));
    RunningQuorvel app(folder, L"", L"", through);
    ASSERT_TRUE(app.window());
    Click(app.Item(through[0] == L'R' ? launcher::kIdCheck4 : launcher::kIdCheck1));
    Send(app.Item(launcher::kIdFile1), LB_SETCURSEL, 0);
    ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
    if (through[0] != L'R') app.AnswerMessageBox();  // the move, told
    Send(app.window(), WM_NULL);
  }
  ASSERT_EQ(folder.WaitForRecords(2).size(), 2u);
  // The files the programs made (this process may not see the new drive yet, so it does not
  // work out the name itself): one, with what both launches stored.
  std::vector<std::wstring> files;
  for (const auto& entry :
       std::filesystem::recursive_directory_iterator(folder.local_app_data() + L"\\Quorvel"))
    if (entry.path().filename() == L"quorvel.ini") files.push_back(entry.path());
  ASSERT_EQ(files.size(), 1u);
  const std::string user = ReadFileBytes(files[0]);
  EXPECT_TRUE(ini::FindValue(user, "Video", "scanlines") == "1" &&
              ini::FindValue(user, "Video", "scale") == "1")
      << user;
}

// Neither the program's folder (a folder stands where the temporary file goes) nor the per-user
// folder (LOCALAPPDATA names a file) can take the settings: told once per run at a launch, with
// both files and reasons, and at every OK of a dialog, which then stays open.
TEST(SettingsStore, FailedWriteIsToldOnceAndTheLaunchGoesOn) {
  QuorvelFolder folder({L"demo.sms"});
  const std::string before = "[Video]\r\nscanlines=1\r\n";
  folder.WriteSettings(before);
  ASSERT_TRUE(std::filesystem::create_directory(folder.settings_path() + L".tmp"));
  const std::wstring not_a_folder = folder.images() + L"\\demo.sms";
  ::SetEnvironmentVariableW(L"LOCALAPPDATA", not_a_folder.c_str());
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  Send(app.Item(launcher::kIdFile1), LB_SETCURSEL, 0);
  ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
  const std::wstring told = app.AnswerMessageBox().value_or(L"(no box)");
  const std::wstring user =
      Widen(settings::UserSettingsPathOf(Narrow(not_a_folder), U16(folder.program_folder())));
  for (const std::wstring& path : {folder.settings_path(), user})
    EXPECT_NE(told.find(L"\n" + path + L"\n"), std::wstring::npos) << Narrow(told);
  EXPECT_GT(told.size(), 60 + folder.settings_path().size() * 2)
      << "the system's reasons are missing";
  // The launch went on; the next one fails too, untold.
  ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
  EXPECT_EQ(folder.WaitForRecords(2).size(), 2u);
  Send(app.window(), WM_NULL);
  EXPECT_EQ(app.Windows(L"#32770").size(), 0u) << "told twice";
  EXPECT_EQ(folder.Settings(), before);
  const HWND dialog = app.Open(launcher::kIdCommand4, dialogs::kOptionDialogClass,
                               dialogs::kResolutionForm.caption);
  ASSERT_TRUE(dialog);
  const dialogs::OptionDialogForm& form = dialogs::kResolutionForm;
  Click(::GetDlgItem(dialog, layout::Find(form.controls, form.rows[0].button)->id));
  for (int press = 0; press < 2; ++press) {
    ::PostMessageW(::GetDlgItem(dialog, dialogs::kIdOk), BM_CLICK, 0, 0);
    EXPECT_NE(app.AnswerMessageBox().value_or(L"").find(folder.settings_path()), std::wstring::npos)
        << "OK " << press;
    Send(dialog, WM_NULL);
    EXPECT_TRUE(::IsWindowVisible(dialog)) << "the choice that was not stored went away";
  }
}

// A lock that a writer left behind when it lost power is taken over at once; a live one is not.
TEST(SettingsStore, AStaleLockIsTakenOverAndALiveOneIsLeftToItsHolder) {
  QuorvelFolder folder;
  const std::wstring lock = folder.images() + L"\\quorvel.ini.lock";
  WriteFileBytes(lock, "");
  settings::Win32FileOps files;
  settings::LockAttempt held = files.TryLock(Narrow(lock), 0);
  ASSERT_TRUE(held.lock);
  const settings::LockAttempt second = files.TryLock(Narrow(lock), 0);
  EXPECT_TRUE(!second.lock && second.refused == 0);
  held.lock.reset();
  EXPECT_FALSE(std::filesystem::exists(lock));
}

// Our writer and reader against Windows' own profile functions, both ways, with
// a temporary file that a write cut short left behind, neither read nor in the way.
TEST(SettingsStore, AgreesWithTheSystemProfileFunctions) {
  QuorvelFolder folder;
  const std::wstring ini = folder.images() + L"\\quorvel.ini";  // an ANSI path
  const std::string path = Narrow(ini);
  WriteFileBytes(ini + L".tmp", "[Peer]\r\nours=half-writ");
  settings::Win32FileOps files;
  const settings::Places places{path, ""};
  const auto write = [&](const char* key, const std::string& value) {
    const settings::Setting setting{"Peer", key, value};
    return settings::WriteValues(files, places, {&setting, 1}).error;
  };
  const auto system_read = [&](const char* key) {
    char buffer[80] = {};
    ::GetPrivateProfileStringA("Peer", key, "<none>", buffer, 80, path.c_str());
    return std::string(buffer);
  };
  EXPECT_EQ(settings::ReadValue(files, places, "Peer", "ours").value, "");
  for (const std::string value :
       {"", " 1", "01", "  two leading", "\"quoted\"", "'single'", "640 480 ", "auto "}) {
    ASSERT_EQ(write("ours", value), 0u);
    EXPECT_EQ(system_read("ours"), value);
  }
  EXPECT_FALSE(std::filesystem::exists(ini + L".tmp") || std::filesystem::exists(ini + L".lock"));
  // What Windows' writer stores, our reader reads as Windows' reader does (but
  // for unquoted edge blanks, which ours keeps), and the rest stays ours.
  for (const char* value : {"1", "x=y", "segapci", "\"gamepdpro \""}) {
    ASSERT_TRUE(::WritePrivateProfileStringA("Peer", "theirs", value, path.c_str()));
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
    const settings::ReadResult read = settings::ReadValue(files, places, "Peer", "theirs");
    EXPECT_TRUE(read.ok && read.value == system_read("theirs")) << value;
    EXPECT_EQ(settings::ReadValue(files, places, "Peer", "ours").value, "auto ") << "ours kept";
  }
  EXPECT_EQ(settings::ReadValue(files, places, "Peer", "theirs").value, "gamepdpro ");
  // A file saved as UTF-16 stays UTF-16, and both readers agree on it.
  WriteFileBytes(ini, "\xff\xfe");
  ASSERT_TRUE(
      ::WritePrivateProfileStringW(L"Peer", L"theirs", L"\u00e9t\u00e9 \u65e5", ini.c_str()));
  ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
  EXPECT_EQ(settings::ReadValue(files, places, "Peer", "theirs").value, "\u00e9t\u00e9 \u65e5");
  ASSERT_EQ(write("ours", "\u00e0 \U0001F600"), 0u);
  wchar_t buffer[80] = {};
  ::GetPrivateProfileStringW(L"Peer", L"ours", L"", buffer, 80, ini.c_str());
  EXPECT_EQ(std::wstring(buffer), L"\u00e0 \U0001F600");
  EXPECT_TRUE(ReadFileBytes(ini).starts_with("\xff\xfe[\0P\0"));
}

}  // namespace
}  // namespace quorvel::test
