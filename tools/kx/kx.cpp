// A stand-in for the emulator. It tells what it received: its whole command
// line, its arguments as the C runtime splits them, and its current directory.
// With KX_RECORD naming a file it appends that to the file, otherwise it shows
// it in a message box. The record is UTF-8 for well-formed text, and exact for
// any UTF-16: an unpaired surrogate is written as the three bytes UTF-8 would
// give its code point (the form known as WTF-8).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/win32/handles.h"

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

std::string Wtf8(std::wstring_view text) {
  constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};  // by trailing bytes
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    const int trailing = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    bytes += static_cast<char>(kLead[trailing] | (c >> (6 * trailing)));
    for (int k = trailing - 1; k >= 0; --k)
      bytes += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
  }
  return bytes;
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
  if (!record.empty()) return Append(record, Wtf8(report)) ? 0 : 1;
  ::MessageBoxW(nullptr, report.c_str(), L"kx - stand-in emulator", MB_OK | MB_ICONINFORMATION);
  return 0;
}
