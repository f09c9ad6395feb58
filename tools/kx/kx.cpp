// A stand-in for the emulator. It tells what it received: its whole command
// line, its arguments as the C runtime splits them, and its current directory.
// With KX_RECORD naming a file it appends that to the file (UTF-8), otherwise
// it shows it in a message box.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/handles.h"
#include "platform/text.h"

namespace {

std::wstring Environment(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::wstring value(size, L'\0');
  value.resize(::GetEnvironmentVariableW(name, value.data(), size));
  return value;
}

std::wstring CurrentDirectory() {
  const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
  std::wstring value(size, L'\0');
  value.resize(::GetCurrentDirectoryW(size, value.data()));
  return value;
}

std::wstring Report() {
  std::wstring report = L"cmdline=" + std::wstring(::GetCommandLineW()) + L"\n";
  report += L"argc=" + std::to_wstring(__argc) + L"\n";
  for (int i = 0; i < __argc; ++i)
    report += L"argv[" + std::to_wstring(i) + L"]=" + __wargv[i] + L"\n";
  report += L"cwd=" + CurrentDirectory() + L"\n";
  report += L"end\n";
  return report;
}

bool Append(const std::wstring& path, const std::string& bytes) {
  // Several stand-ins may record at once: each waits its turn for the file.
  for (int attempt = 0; attempt < 200; ++attempt) {
    quorvel::win::UniqueFile file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                nullptr));
    if (file) {
      DWORD written = 0;
      return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr) &&
             written == bytes.size();
    }
    if (::GetLastError() != ERROR_SHARING_VIOLATION) return false;
    ::Sleep(10);
  }
  return false;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
  const std::wstring report = Report();
  const std::wstring record = Environment(L"KX_RECORD");
  if (!record.empty()) return Append(record, quorvel::win::Narrow(report)) ? 0 : 1;
  ::MessageBoxW(nullptr, report.c_str(), L"kx - stand-in emulator", MB_OK | MB_ICONINFORMATION);
  return 0;
}
