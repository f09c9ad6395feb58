#include "settings/win32/settings_store.h"

#include <windows.h>

#include "platform/message.h"
#include "platform/text.h"
#include "settings/settings_file.h"
#include "settings/win32/win32_file_ops.h"

namespace quorvel::settings {
namespace {

std::wstring ExecutableDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);  // a long path was cut: try a larger buffer
  }
  const size_t separator = path.find_last_of(L"\\/");
  path.resize(separator == std::wstring::npos ? 0 : separator);
  // A drive root keeps its separator: "C:" alone would mean the drive's
  // current directory.
  if (path.size() == 2 && path[1] == L':') path += L'\\';
  return path;
}

bool g_write_failure_told = false;

}  // namespace

std::string SettingsPath() { return SettingsPathIn(win::Narrow(ExecutableDirectory())); }

std::string ReadIniValue(std::string_view section, std::string_view key) {
  Win32FileOps files;
  ReadResult result = ReadValue(files, SettingsPath(), section, key);
  if (!result.ok) {
    win::ShowMessage(L"Errr in INI File");
    ::ExitProcess(1);
  }
  return std::move(result.value);
}

void WriteIniValue(std::string_view section, std::string_view key, std::string_view value) {
  Win32FileOps files;
  const std::string path = SettingsPath();
  const ErrorCode error = WriteValue(files, path, section, key, value);
  if (error == 0 || g_write_failure_told) return;
  g_write_failure_told = true;
  win::ShowMessage(L"Your settings cannot be saved to\n" + win::Widen(path) + L"\n\n" +
                   win::SystemErrorText(error));
}

}  // namespace quorvel::settings
