#include "settings/win32/settings_store.h"

#include <windows.h>

#include "platform/win32/text.h"
#include "settings/win32/win32_file_ops.h"

namespace quorvel::settings {
namespace {

// The running executable's folder in its long form (the same folder started
// through a short 8.3 path has the same per-user file), or the error that
// keeps it unknown.
struct Folder {
  std::string path;
  ErrorCode error = 0;
};

Folder ExecutableFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {{}, ::GetLastError()};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return {{}, ERROR_FILENAME_EXCED_RANGE};  // longer than any path
    path.resize(path.size() * 2);  // a long path was cut: try a larger buffer
  }
  const size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return {{}, ERROR_BAD_PATHNAME};
  path.resize(separator);
  // A drive root keeps its separator: "C:" alone would mean the drive's
  // current directory.
  if (path.size() == 2 && path[1] == L':') path += L'\\';
  // Short names carry a tilde ("PROGRA~1"); a path without one is its own
  // long form, and asking costs a look into every folder along it.
  if (path.find(L'~') != std::wstring::npos) {
    std::wstring long_form(path.size() + MAX_PATH, L'\0');
    const DWORD length =
        ::GetLongPathNameW(path.c_str(), long_form.data(), static_cast<DWORD>(long_form.size()));
    if (length > 0 && length < long_form.size()) path.assign(long_form.data(), length);
  }
  // A name that is not well-formed UTF-16 cannot be named in UTF-8: unknown,
  // rather than some other folder's name.
  std::optional<std::string> utf8 = win::Narrow(path);
  if (!utf8) return {{}, ERROR_NO_UNICODE_TRANSLATION};
  return {std::move(*utf8), 0};
}

std::optional<std::string> LocalAppData() {
  wchar_t value[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return win::Narrow({value, length});
}

Places FindPlaces() {
  const Folder folder = ExecutableFolder();
  Places places;
  places.program_unknown = folder.error;
  if (folder.error == 0) places.program = SettingsPathIn(folder.path);
  if (const std::optional<std::string> data = LocalAppData())
    places.user = UserSettingsPath(*data, folder.path);
  return places;
}

}  // namespace

const Places& SettingsPlaces() {
  static const Places places = FindPlaces();
  return places;
}

ReadResult ReadIniText() {
  Win32FileOps files;
  return ReadText(files, SettingsPlaces());
}

ReadResult ReadIniValue(std::string_view section, std::string_view key) {
  Win32FileOps files;
  return ReadValue(files, SettingsPlaces(), section, key);
}

WriteResult WriteIniValues(std::span<const Setting> settings) {
  Win32FileOps files;
  return WriteValues(files, SettingsPlaces(), settings);
}

WriteResult WriteIniValue(std::string_view section, std::string_view key, std::string_view value) {
  const Setting setting{section, key, value};
  return WriteIniValues({&setting, 1});
}

}  // namespace quorvel::settings
