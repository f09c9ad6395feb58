// Measures Quorvel against its anchors (bare_window.cpp) from outside, as a
// user's shell would see it, with the pairs alternating in one run so that a
// drifting machine moves both alike. Prints one table of ratios (median and
// interquartile range over the pairs) with the absolute medians beside them.
//
//   bench_driver RUNS SMALL_FOLDER BIG_FOLDER BIG_COUNT
//
// The programs lie beside the driver; SMALL_FOLDER holds demo.sms and a few
// more images, BIG_FOLDER holds BIG_COUNT images. KX_RECORD must name the
// file the stand-in kx appends to when it starts.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "launcher/main_layout.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace {

using quorvel::win::UniqueHandle;
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::wstring Beside(const wchar_t* name) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path, length);
  return directory.substr(0, directory.find_last_of(L'\\') + 1) + name;
}

bool WaitFor(const std::function<bool()>& done, int timeout_ms = 20000) {
  const Clock::time_point start = Clock::now();
  while (!done()) {
    if (Since(start) > timeout_ms) return false;
    ::Sleep(1);
  }
  return true;
}

struct Program {
  const wchar_t* exe;
  const wchar_t* mode;  // the anchors' command-line mode
  int list_id, button_id;
};
constexpr Program kQuorvel{L"quorvel.exe", L"", quorvel::launcher::kIdFile1,
                           quorvel::launcher::kIdCommand1};
// Start-up and memory are measured against Quorvel's manifest.
constexpr Program kBare{L"bare_window_manifest.exe", L"", 0, 0};
constexpr Program kBareForm{L"bare_window_manifest.exe", L"controls", 0, 0};
constexpr Program kBareLauncher{L"bare_window.exe", L"launch", 0, 2};
constexpr Program kBareList{L"bare_window.exe", L"list", 1, 0};
// The i686 builds of Quorvel and of its start-up anchor, beside the others.
constexpr Program kQuorvelI686{L"quorvel-i686.exe", L"", 0, 0};
constexpr Program kBareI686{L"bare_window_manifest-i686.exe", L"", 0, 0};

// A program started in a folder, up to its first painted, input-idle window.
class Run {
 public:
  Run(const Program& program, const std::wstring& folder) {
    std::wstring command = L"\"" + Beside(program.exe) + L"\" " + program.mode;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    start_ = Clock::now();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &process))
      return;
    process_.reset(process.hProcess);
    UniqueHandle thread(process.hThread);
    ::WaitForInputIdle(process_.get(), 20000);
    WaitFor([&] {
      window_ = Find(process.dwProcessId);
      DWORD_PTR ignored = 0;
      return window_ && !::GetUpdateRect(window_, nullptr, FALSE) &&
             ::SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
    });
    ready_ms_ = Since(start_);
  }
  ~Run() {
    if (window_) ::PostMessageW(window_, WM_CLOSE, 0, 0);
    if (process_ && ::WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0)
      ::TerminateProcess(process_.get(), 1);
  }
  HWND window() const { return window_; }
  HWND Item(int id) const { return ::GetDlgItem(window_, id); }
  double ready_ms() const { return ready_ms_; }
  Clock::time_point start() const { return start_; }
  double PrivateBytes() const {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    ::GetProcessMemoryInfo(process_.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters);
    // The commit charge: PrivateUsage on Windows, and the one private figure
    // Wine gives for another process (its PrivateUsage stays 0).
    return static_cast<double>(counters.PagefileUsage);
  }

 private:
  struct Search {
    DWORD id;
    HWND found;
  };
  static BOOL CALLBACK Visit(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->id || !::IsWindowVisible(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
  }
  static HWND Find(DWORD process_id) {
    Search search{process_id, nullptr};
    ::EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  UniqueHandle process_;
  HWND window_ = nullptr;
  Clock::time_point start_;
  double ready_ms_ = 0;
};

LONGLONG FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (LONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// Click to handler's end, and click to the stand-in kx running.
std::pair<double, double> Launch(const Program& program, const std::wstring& folder,
                                 const std::wstring& record) {
  Run run(program, folder);
  if (program.list_id) ::SendMessageW(run.Item(program.list_id), LB_SETCURSEL, 0, 0);
  const LONGLONG before = FileSize(record);
  const Clock::time_point click = Clock::now();
  ::SendMessageW(run.Item(program.button_id), BM_CLICK, 0, 0);
  const double handler = Since(click);
  WaitFor([&] { return FileSize(record) > before; });
  return {handler, Since(click)};
}

// From the start until the list holds every image.
double Fill(const Program& program, const std::wstring& folder, LRESULT count) {
  Run run(program, folder);
  WaitFor([&] {
    DWORD_PTR items = 0;
    return ::SendMessageTimeoutW(run.Item(program.list_id), LB_GETCOUNT, 0, 0, SMTO_NORMAL, 20000,
                                 &items) &&
           static_cast<LRESULT>(items) == count;
  });
  return Since(run.start());
}

double Quantile(std::vector<double> values, double q) {
  std::sort(values.begin(), values.end());
  const double position = q * static_cast<double>(values.size() - 1);
  const size_t below = static_cast<size_t>(position);
  const size_t above = std::min(below + 1, values.size() - 1);
  return values[below] + (values[above] - values[below]) * (position - static_cast<double>(below));
}

struct Pairs {
  std::string figure;
  const char* unit;
  std::vector<double> ours, anchor;
};

void Print(const Pairs& pairs, const char* target) {
  std::vector<double> ratios;
  for (size_t i = 0; i < pairs.ours.size(); ++i) ratios.push_back(pairs.ours[i] / pairs.anchor[i]);
  std::printf("| %s | %.2fx (%.2f-%.2f) | %.1f %s | %.1f %s | %s |\n", pairs.figure.c_str(),
              Quantile(ratios, 0.5), Quantile(ratios, 0.25), Quantile(ratios, 0.75),
              Quantile(pairs.ours, 0.5), pairs.unit, Quantile(pairs.anchor, 0.5), pairs.unit,
              target);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::fputs("usage: bench_driver RUNS SMALL_FOLDER BIG_FOLDER BIG_COUNT\n", stderr);
    return 2;
  }
  const int runs = std::max(1, _wtoi(argv[1]));
  const std::wstring small = argv[2], big = argv[3];
  const LRESULT big_count = _wtoi(argv[4]);
  wchar_t record[MAX_PATH] = {};
  ::GetEnvironmentVariableW(L"KX_RECORD", record, MAX_PATH);

  Pairs startup{"Start-up to the first painted, idle window", "ms", {}, {}};
  Pairs startup_form{
      "(against the bare window with the main window's controls, plain)", "ms", {}, {}};
  Pairs startup_i686{"(the i686 build, against the i686 bare window)", "ms", {}, {}};
  Pairs memory{"Private memory after start-up", "MB", {}, {}};
  Pairs launch{"Launch, click to kx running", "ms", {}, {}};
  Pairs handler{"(the click handler alone)", "ms", {}, {}};
  const std::string many = std::to_string(big_count) + " images";
  Pairs window_up{"Window up with " + many + ", against 10 images", "ms", {}, {}};
  Pairs fill{"Folder of many images, until the list is full", "ms", {}, {}};
  for (int i = 0; i < runs; ++i) {
    {
      const Run bare(kBare, small);
      startup.anchor.push_back(bare.ready_ms());
      memory.anchor.push_back(bare.PrivateBytes() / 1e6);
    }
    {
      const Run ours(kQuorvel, small);
      startup.ours.push_back(ours.ready_ms());
      startup_form.ours.push_back(ours.ready_ms());
      memory.ours.push_back(ours.PrivateBytes() / 1e6);
    }
    // Back to back, in turns first: each closed as soon as it is up.
    for (const bool big_folder : {i % 2 == 0, i % 2 != 0})
      (big_folder ? window_up.ours : window_up.anchor)
          .push_back(Run(kQuorvel, big_folder ? big : small).ready_ms());
    {
      const Run form(kBareForm, small);
      startup_form.anchor.push_back(form.ready_ms());
    }
    startup_i686.anchor.push_back(Run(kBareI686, small).ready_ms());
    startup_i686.ours.push_back(Run(kQuorvelI686, small).ready_ms());
    const auto [bare_handler, bare_running] = Launch(kBareLauncher, small, record);
    const auto [our_handler, our_running] = Launch(kQuorvel, small, record);
    launch.anchor.push_back(bare_running), launch.ours.push_back(our_running);
    handler.anchor.push_back(bare_handler), handler.ours.push_back(our_handler);
    if (i < std::max(1, runs / 4)) {  // the slow pair runs a quarter as often
      fill.anchor.push_back(Fill(kBareList, big, big_count));
      fill.ours.push_back(Fill(kQuorvel, big, big_count));
    }
  }
  std::printf(
      "| Figure | Ratio, median (IQR) | Quorvel | Anchor | Target |\n|---|---|---|---|---|\n");
  Print(startup, "<= 1.30x");
  Print(startup_form, "<= 1.10x");
  Print(startup_i686, "<= 1.30x");
  Print(launch, "<= 1.10x");
  Print(handler, "");
  Print(memory, "<= 1.50x");
  Print(window_up, "<= 1.20x");
  Print(fill, "<= 0.30x");
  return 0;
}
