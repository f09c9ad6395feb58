#include "settings/win32/settings_store.h"

#include <windows.h>

#include <optional>

#include "platform/message.h"
#include "platform/text.h"
#include "settings/win32/win32_file_ops.h"

namespace quorvel::settings {
namespace {

std::optional<std::wstring> ExecutableDirectory() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::nullopt;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return std::nullopt;  // longer than any path can be
    path.resize(path.size() * 2);                   // a long path was cut: try a larger buffer
  }
  const size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return std::nullopt;
  path.resize(separator);
  // A drive root keeps its separator: "C:" alone would mean the drive's
  // current directory.
  if (path.size() == 2 && path[1] == L':') path += L'\\';
  return path;
}

std::optional<std::wstring> LocalAppData() {
  wchar_t value[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::wstring(value, length);
}

Places FindPlaces() {
  Places places;
  if (const std::optional<std::wstring> directory = ExecutableDirectory())
    places.program = SettingsPathIn(win::Narrow(*directory));
  if (const std::optional<std::wstring> data = LocalAppData())
    places.user = SettingsPathIn(win::Narrow(*data) + "\\Quorvel");
  if (places.program.empty()) {
    win::ShowMessage(places.user.empty()
                         ? L"Quorvel cannot find its own folder: your settings cannot be kept."
                         : L"Quorvel cannot find its own folder: your settings are kept in\n" +
                               win::Widen(places.user));
  }
  return places;
}

bool g_write_failure_told = false;

}  // namespace

const Places& SettingsPlaces() {
  static const Places places = FindPlaces();
  return places;
}

std::string ReadIniText() {
  Win32FileOps files;
  ReadResult result = ReadText(files, SettingsPlaces());
  if (!result.ok) {
    win::ShowMessage(L"Errr in INI File");
    ::ExitProcess(1);
  }
  return std::move(result.value);
}

std::string ReadIniValue(std::string_view section, std::string_view key) {
  return ValueIn(ReadIniText(), section, key);
}

void WriteIniValue(std::string_view section, std::string_view key, std::string_view value) {
  const Setting setting{section, key, value};
  WriteIniValues({&setting, 1});
}

void WriteIniValues(std::span<const Setting> settings) {
  Win32FileOps files;
  const WriteResult result = WriteValues(files, SettingsPlaces(), settings);
  if (result.error == 0 || g_write_failure_told) return;
  g_write_failure_told = true;
  std::wstring text = L"Your settings cannot be saved.\n\n";
  if (result.program_error != 0 && result.path != SettingsPlaces().program)
    text += win::Widen(SettingsPlaces().program) + L"\n" +
            win::SystemErrorText(result.program_error) + L"\n\n";
  text += win::Widen(result.path) + L"\n" + win::SystemErrorText(result.error);
  win::ShowMessage(text);
}

}  // namespace quorvel::settings
