// Campaigns, counts times QUORVEL_CAMPAIGN_SCALE, each printing a result line for soak.sh.
#include <gtest/gtest.h>
#include <process.h>

#include "dialogs/win32/option_dialog.h"
#include "launcher/main_layout.h"
#include "launcher/win32/launch.h"
#include "platform/win32/window.h"
#include "settings/ini_text.h"
#include "tests/wine/test_util.h"

namespace quorvel::test {
namespace {

const char* const kScaleText = std::getenv("QUORVEL_CAMPAIGN_SCALE");
const int kScale = kScaleText ? std::max(1, std::atoi(kScaleText)) : 1;

// A failed spawn gives -1, the handle of this very process: such a writer holds nothing. Wine's
// CreateProcess fails now and then under load, so a start is tried a few times.
HANDLE Spawn(const std::wstring& arguments) {
  for (int attempt = 0; attempt < 5; ++attempt, ::Sleep(100))
    if (const intptr_t process =
            _wspawnl(_P_NOWAIT, (BinDirectory() + L"\\settings_writer.exe").c_str(), L"writer",
                     arguments.c_str(), nullptr);
        process != -1)
      return reinterpret_cast<HANDLE>(process);
  return nullptr;
}

struct Writer : win::UniqueHandle {  // settings_writer.exe, ended at the latest when this goes
  Writer(const std::wstring& ini, const std::wstring& rest)
      : win::UniqueHandle(Spawn(L"\"" + ini + L"\" " + rest)) {}
  ~Writer() { ExitCode(0); }
  DWORD ExitCode(DWORD wait_ms) const {  // STILL_ACTIVE: it was still writing, and is ended
    DWORD code = STILL_ACTIVE;
    if (!get()) return ERROR_INVALID_HANDLE;  // it never started
    if (!::WaitForSingleObject(get(), wait_ms)) ::GetExitCodeProcess(get(), &code);
    return ::TerminateProcess(get(), 255), ::WaitForSingleObject(get(), 10000), code;
  }
};

TEST(Campaign, WritersKilledAtRandomMomentsLeaveTheFileWhole) {
  QuorvelFolder folder;
  const std::wstring path = folder.settings_path();  // its file, some settings and a filler:
  std::string original = "[Joystick]\r\ntype=\"sidewinder \"\r\n[Kill]\r\nn=0\r\n[Filler]\r\n";
  for (char c = 'a'; c <= 'z'; ++c) original += c + ("=" + std::string(150, c)) + "\r\n";
  folder.WriteSettings(original);
  int kills = 200 * kScale, whole = 0;
  for (long long kill = 0, n = 0; kill < kills; ++kill) {
    Writer writer(path, L"Kill n " + std::to_wstring(n + 1) + L" 0");  // changes it, then:
    ASSERT_TRUE(WaitUntil([&, was = folder.Settings()] { return folder.Settings() != was; }, 10s))
        << "kill " << kill << ": the writer's exit code " << writer.ExitCode(0);
    ::Sleep(std::rand() % 20), writer.ExitCode(0);
    const std::string text = folder.Settings();
    const long long now = std::atoll(ini::FindValue(text, "Kill", "n").value_or("").c_str());
    whole += now > n && text == ini::WithValue(original, "Kill", "n", std::to_string(n = now));
  }
  EXPECT_EQ(Writer(path, L"Kill n 0 1").ExitCode(10000), 0u);
  const int left =
      std::filesystem::exists(path + L".tmp") + std::filesystem::exists(path + L".lock");
  EXPECT_EQ(whole, kills);
  EXPECT_EQ(left, 0);
  std::printf("campaign kills: %d kills, %d files whole, %d left behind\n", kills, whole, left);
}

// Two writers and the real program's launches at once, on the program's settings file.
TEST(Campaign, ContendingWritersAndTheProgramLoseNoWrite) {
  const int writes = 1000 * kScale;
  QuorvelFolder folder({L"demo.sms"});
  RunningQuorvel app(folder);
  ASSERT_TRUE(app.window());
  const std::wstring count = L" 0 " + std::to_wstring(writes), path = folder.settings_path();
  Writer a(path, L"Joystick a#" + count), b(path, L"Joystick b#" + count);
  for (size_t launch = 1; launch <= 20; ++launch) {
    Send(app.Item(launcher::kIdFile1), LB_SETCURSEL, 0);
    ::PostMessageW(app.Item(launcher::kIdCommand1), BM_CLICK, 0, 0);
    ASSERT_EQ(folder.WaitForRecords(launch).size(), launch)
        << Narrow(app.AnswerMessageBox().value_or(L"(no message box)"));
  }
  EXPECT_EQ(a.ExitCode(100000) | b.ExitCode(10000), 0u) << "the error of a failed write";
  const std::string text = folder.Settings();
  int kept = 0;
  for (int i = 0; i < 2 * writes; ++i)
    kept += ini::FindValue(text, "Joystick", "ab"[i % 2] + std::to_string(i / 2)) ==
            std::to_string(i / 2);
  EXPECT_EQ(kept, 2 * writes);
  for (const launcher::SettingWrite& write : launcher::LaunchWrites({}))
    EXPECT_TRUE(ini::FindValue(text, write.section, write.key)) << write.key;
  std::printf("campaign contention: %d of %d keys kept, with 20 launches\n", kept, 2 * writes);
}

TEST(Campaign, DialogAndLaunchCyclesGiveBackEveryHandle) {
  const int cycles = 1000 * kScale, launches = 100 * kScale;
  QuorvelFolder folder;
  const dialogs::OptionDialogForm& form = dialogs::kResolutionForm;
  dialogs::OptionDialog dialog(
      form, ::GetModuleHandleW(nullptr),
      [](const settings::WriteResult& write) { ASSERT_EQ(write.error, 0u); });
  const auto row = [&](int i) { return form.rows[i / 10 % form.rows.size()]; };
  const auto cycle = [&](int i) {  // shown, OK; every tenth time unloaded first, a row chosen
    if (i % 10 == 0) ::SendMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    dialog.Show();
    for (int id : {i % 10 ? 0 : layout::Find(form.controls, row(i).button)->id, dialogs::kIdOk})
      ::SendMessageW(::GetDlgItem(dialog.hwnd(), id), BM_CLICK, 0, 0);
    for (MSG message; ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);)
      ::DispatchMessageW(&message);
  };
  const auto counts = [] {  // kernel handles: GetProcessHandleCount is 0 under Wine 8
    std::array<int, 3> counts{RoomForGdiObjects(), 0, 0};
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT))
      counts[1] += ::GetWindowThreadProcessId(w, nullptr) == ::GetCurrentThreadId();
    for (DWORD value = 4, flags; value < 0x10000; value += 4)
      counts[2] += ::GetHandleInformation(reinterpret_cast<HANDLE>(UINT_PTR{value}), &flags);
    return counts;
  };
  ::SetEnvironmentVariableW(L"KX_RECORD", folder.record_path().c_str());  // no box from kx
  const launcher::MainOptions options{{true}, 0};                         // scanlines, 11.025 kHz
  const auto launch = [&](int i) {  // one kx at a time, as a user starts them
    const launcher::LaunchOutcome outcome =
        (folder.WaitForRecords(i), launcher::Launch(options, u"demo.sms", win::BusyWait));
    ASSERT_EQ(outcome.start_error + outcome.write.error, 0u) << "launch " << i;
  };
  for (int i = 0; i < 10; ++i) cycle(i);
  launch(0);
  const std::array<int, 3> baseline = counts();
  for (int i = 0; i < cycles; ++i) cycle(i);
  for (int i = 1; i < launches && !HasFailure(); ++i) launch(i);
  const std::vector<KxRecord> records = folder.WaitForRecords(launches);
  const std::array<int, 3> after = counts();
  std::filesystem::remove(BinDirectory() + L"\\quorvel.ini");  // written beside the tests
  EXPECT_GT(baseline[2], 0);
  EXPECT_EQ(after, baseline) << "GDI room, windows, kernel handles";
  EXPECT_EQ(records.size() == size_t(launches) ? records.back().command_line : u"?",
            launcher::LaunchCommandLine(options, u"demo.sms", "", row(cycles - 10).value));
  std::printf(
      "campaign handles: %d dialog cycles, %d launches, lost %d GDI %d windows %d handles\n",
      cycles, launches, baseline[0] - after[0], after[1] - baseline[1], after[2] - baseline[2]);
}

}  // namespace
}  // namespace quorvel::test
