#include "settings/win32/settings_store.h"

#include <windows.h>

#include "platform/paths.h"
#include "platform/win32/paths.h"
#include "platform/win32/text.h"
#include "settings/win32/win32_file_ops.h"

namespace quorvel::settings {
namespace {

// The running executable's folder in its long form (the same folder started
// through a short 8.3 path has the same file), or the error that keeps it
// unknown.
struct Folder {
  std::u16string path;
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
  const std::u16string_view folder = paths::FolderOf(win::AsUtf16(path));
  if (folder.empty()) return {{}, ERROR_BAD_PATHNAME};
  // Short names carry a tilde ("PROGRA~1"); a path without one is its own
  // long form, and asking costs a look into every folder along it.
  if (folder.find(u'~') != std::u16string_view::npos) return {win::LongPath(folder), 0};
  return {std::u16string(folder), 0};
}

std::optional<std::string> LocalAppData() {
  wchar_t value[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return win::Narrow({value, length});
}

bool Exists(const std::string& path) {
  const std::optional<std::wstring> wide = win::Widen(path);
  return wide && ::GetFileAttributesW(wide->c_str()) != INVALID_FILE_ATTRIBUTES;
}

Places FindPlaces() {
  const Folder folder = ExecutableFolder();
  // A name that is not well-formed UTF-16 cannot be named in UTF-8: unknown,
  // rather than some other folder's name.
  const std::optional<std::string> utf8 = win::Narrow(win::AsWide(folder.path));
  Places places;
  places.program_unknown = folder.error != 0 ? folder.error
                           : utf8            ? 0
                                             : ERROR_NO_UNICODE_TRANSLATION;
  if (places.program_unknown == 0) places.program = SettingsPathIn(*utf8);
  if (const std::optional<std::string> data = LocalAppData())
    places.user = UserSettingsPathOf(*data, places.program_unknown == 0 ? folder.path : u"");
  return places;
}

}  // namespace

std::string UserSettingsPathOf(std::string_view local_app_data,
                               std::u16string_view program_folder) {
  // The same folder reached another way (a mapped or subst drive, a share's
  // name, a junction) is one folder with one file.
  const std::u16string final_path =
      win::FinalPath(program_folder).value_or(std::u16string(program_folder));
  const std::optional<std::string> name = win::Narrow(win::AsWide(final_path));
  const std::optional<std::string> key = win::Narrow(win::AsWide(win::FoldedCase(final_path)));
  if (!name || !key) return UserSettingsPath(local_app_data, "", "");
  std::string path = UserSettingsPath(local_app_data, *name, *key);
  // Earlier versions named the file after the path as it was given.
  const std::optional<std::string> given = win::Narrow(win::AsWide(program_folder));
  if (given && !Exists(path)) {
    std::string earlier = UserSettingsPath(local_app_data, *given, AsciiFoldedKey(*given));
    if (Exists(earlier)) return earlier;
  }
  return path;
}

const Places& SettingsPlaces() {
  static const Places places = FindPlaces();
  return places;
}

ReadResult ReadIniText(Wait wait) {
  Win32FileOps files(wait);
  return ReadText(files, SettingsPlaces());
}

ReadResult ReadIniValue(std::string_view section, std::string_view key, Wait wait) {
  Win32FileOps files(wait);
  return ReadValue(files, SettingsPlaces(), section, key);
}

WriteResult WriteIniValues(std::span<const Setting> settings, Wait wait) {
  Win32FileOps files(wait);
  return WriteValues(files, SettingsPlaces(), settings);
}

WriteResult WriteIniValue(std::string_view section, std::string_view key, std::string_view value,
                          Wait wait) {
  const Setting setting{section, key, value};
  return WriteIniValues({&setting, 1}, wait);
}

}  // namespace quorvel::settings
