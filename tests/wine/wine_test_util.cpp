#include "tests/wine/wine_test_util.h"

#include <atomic>
#include <sstream>
#include <thread>

#include "platform/handles.h"
#include "platform/text.h"

namespace quorvel::test {

std::wstring Widen(const std::string& utf8) { return win::Widen(utf8); }
std::string Narrow(const std::wstring& utf16) { return win::Narrow(utf16); }

std::wstring BinDirectory() {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  std::wstring dir(path, length);
  return dir.substr(0, dir.find_last_of(L"\\/"));
}

namespace {

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((dir + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = dir + L"\\" + name;
      ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveTree(path);
      else
        ::DeleteFileW(path.c_str());
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
  }
  ::RemoveDirectoryW(dir.c_str());
}

}  // namespace

TempDir::TempDir() {
  wchar_t base[MAX_PATH + 1];
  ::GetTempPathW(MAX_PATH + 1, base);
  static std::atomic<int> counter{0};
  for (;;) {
    path_ = std::wstring(base) + L"quorvel-test-" + std::to_wstring(::GetCurrentProcessId()) +
            L"-" + std::to_wstring(counter++);
    if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TempDir::~TempDir() { RemoveTree(path_); }

std::wstring TempDir::CopyProgram(const std::wstring& name) const {
  const std::wstring target = *this / name;
  ::CopyFileW((BinDirectory() + L"\\" + name).c_str(), target.c_str(), FALSE);
  return target;
}

std::string ReadFileBytes(const std::wstring& path) {
  win::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return {};
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
    bytes.append(chunk, got);
  return bytes;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  win::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  if (file) ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool FileExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::Sleep(10);
  }
}

std::wstring Quote(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') quoted.append(backslashes * 2 + 1, L'\\');
    else quoted.append(backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  quoted += L'"';
  return quoted;
}

RunResult RunProgram(const std::wstring& program, const std::wstring& arguments,
              const std::wstring& directory, const std::function<void(DWORD)>& while_running,
              std::chrono::milliseconds timeout) {
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  ::CreatePipe(&read_end, &write_end, &inheritable, 0);
  win::UniqueHandle reader(read_end);
  win::UniqueHandle writer(write_end);
  ::SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  startup.hStdInput = nullptr;
  std::wstring command_line = Quote(program) + L" " + arguments;
  PROCESS_INFORMATION info{};
  RunResult result;
  if (!::CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW, nullptr, directory.c_str(), &startup, &info)) {
    result.output = "CreateProcess failed: " + std::to_string(::GetLastError());
    return result;
  }
  win::UniqueHandle process(info.hProcess);
  win::UniqueHandle thread(info.hThread);
  writer.reset();  // only the child writes now, so the pipe ends with it

  std::string output;
  std::thread drain([&] {
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(reader.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
      output.append(chunk, got);
  });
  if (while_running) while_running(info.dwProcessId);
  const DWORD waited = ::WaitForSingleObject(process.get(), static_cast<DWORD>(timeout.count()));
  if (waited != WAIT_OBJECT_0) {
    ::TerminateProcess(process.get(), 255);
    ::WaitForSingleObject(process.get(), 5000);
  } else {
    result.finished = true;
  }
  ::GetExitCodeProcess(process.get(), &result.exit_code);
  drain.join();
  result.output = std::move(output);
  return result;
}

namespace {

struct WindowSearch {
  DWORD process_id;
  const wchar_t* class_name;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  wchar_t class_name[64] = {};
  ::GetClassNameW(hwnd, class_name, 64);
  if (owner == search->process_id && std::wstring(class_name) == search->class_name)
    search->found.push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD process_id, const wchar_t* class_name) {
  WindowSearch search{process_id, class_name, {}};
  ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> MessageBoxes(DWORD process_id) {
  std::vector<HWND> boxes = TopLevelWindows(process_id, L"#32770");
  std::erase_if(boxes, [](HWND box) { return !::IsWindowVisible(box); });
  return boxes;
}

HWND WaitForMessageBox(DWORD process_id, std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  WaitUntil(
      [&] {
        const std::vector<HWND> boxes = MessageBoxes(process_id);
        if (!boxes.empty()) box = boxes.front();
        return box != nullptr;
      },
      timeout);
  return box;
}

std::wstring MessageBoxText(HWND box) {
  wchar_t text[2048] = {};
  // The message text is the box's static control with the id 0xFFFF.
  ::GetDlgItemTextW(box, 0xFFFF, text, static_cast<int>(std::size(text)));
  return text;
}

void PressOk(HWND box) { ::PostMessageW(box, WM_COMMAND, IDOK, 0); }

std::vector<KxRecord> ReadKxRecords(const std::wstring& path) {
  std::vector<KxRecord> records;
  std::istringstream lines(ReadFileBytes(path));
  std::string line;
  KxRecord current;
  while (std::getline(lines, line)) {
    const size_t equals = line.find('=');
    const std::string name = line.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
    if (name == "cmdline") current.command_line = value;
    else if (name.rfind("argv[", 0) == 0) current.argv.push_back(value);
    else if (name == "cwd") current.directory = value;
    else if (name == "end") records.push_back(std::exchange(current, {}));
  }
  return records;
}

}  // namespace quorvel::test
