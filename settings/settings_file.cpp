#include "settings/settings_file.h"

#include <optional>
#include <utility>

#include "platform/ascii.h"
#include "platform/utf.h"
#include "settings/ini_text.h"
#include "settings/settings_text.h"

namespace quorvel::settings {
namespace {

// The program folder's name in its per-user folder's name is cut to this many characters.
constexpr std::size_t kMaxFolderNameLength = 40;

// A directory that already ends in a separator, such as a drive root, gets no second one.
std::string Join(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
  path += name;
  return path;
}

}  // namespace

std::string SettingsPathIn(std::string_view directory) {
  return Join(directory, kSettingsFileName);
}

std::string UserSettingsPath(std::string_view local_app_data, std::string_view program_folder) {
  const std::string folder = Join(local_app_data, "Quorvel");
  while (program_folder.ends_with('\\') || program_folder.ends_with('/'))
    program_folder.remove_suffix(1);
  if (program_folder.empty()) return SettingsPathIn(folder);

  std::uint32_t hash = 2166136261u;  // FNV-1a: file names match in any letter case
  for (const char c : program_folder)
    hash = (hash ^ static_cast<unsigned char>(ascii::Lower(c))) * 16777619u;
  std::string_view name = program_folder.substr(program_folder.find_last_of("\\/") + 1);
  if (name.ends_with(':')) name.remove_suffix(1);  // a drive's root: its letter
  name = name.substr(0, utf::PrefixOfCharacters(name, kMaxFolderNameLength));
  constexpr char kDigits[] = "0123456789abcdef";
  std::string tag = " (";
  for (int shift = 28; shift >= 0; shift -= 4) tag += kDigits[(hash >> shift) & 0xF];
  return SettingsPathIn(Join(folder, std::string(name) + tag + ")"));
}

std::string TemporaryPathFor(const std::string& path) { return path + ".tmp"; }
std::string LockPathFor(const std::string& path) { return path + ".lock"; }

bool IsRefusal(ErrorCode error) {
  return error == kErrorPathNotFound || error == kErrorAccessDenied ||
         error == kErrorWriteProtect || error == kErrorCannotMake || error == kErrorFileReadOnly;
}

namespace {

using Status = FileRead::Status;

// `attempt` again, `pause_ms` apart, while `again` holds of its result, at most `retries` times.
template <typename Attempt, typename Again>
auto Patiently(FileOps& files, int retries, int pause_ms, Attempt attempt, Again again) {
  auto result = attempt();
  for (int retry = 0; again(result) && retry < retries; ++retry) {
    files.Pause(pause_ms);
    result = attempt();
  }
  return result;
}

FileRead ReadPatiently(FileOps& files, const std::string& path, const Timing& timing) {
  return Patiently(
      files, timing.read_retries, timing.pause_ms, [&] { return files.Read(path); },
      [](const FileRead& read) { return read.status == Status::kBusy; });
}

bool Failed(const FileRead& read) {
  return read.status == Status::kBusy || read.status == Status::kFailed;
}

ErrorCode ErrorOf(const FileRead& read) { return read.error != 0 ? read.error : kErrorBusy; }

// The file's text, or the error that keeps it from being read.
struct Text {
  std::optional<SettingsText> text;
  ErrorCode error = 0;
};

Text TextOf(const FileRead& read) {
  if (read.status == Status::kAbsent) return {SettingsText{}, 0};
  if (Failed(read)) return {std::nullopt, ErrorOf(read)};
  std::optional<SettingsText> text = DecodeSettings(read.bytes);
  return {std::move(text), text ? 0 : kErrorUndecodable};
}

// Applies the settings to the file at `path` while holding its lock. `seed`
// is the file to start from when the one at `path` does not exist yet.
ErrorCode WriteFileAt(FileOps& files, const std::string& path, std::span<const Setting> settings,
                      const FileRead* seed, const Timing& timing) {
  // The first try waits for this machine's writers' turn; later ones for a writer elsewhere.
  int wait_ms = timing.turn_wait_ms;
  const LockAttempt attempt = Patiently(
      files, timing.lock_retries, timing.pause_ms,
      [&] { return files.TryLock(LockPathFor(path), std::exchange(wait_ms, timing.pause_ms)); },
      [](const LockAttempt& attempt) { return !attempt.lock && attempt.refused == 0; });
  if (attempt.refused != 0) return attempt.refused;
  if (!attempt.lock) return kErrorBusy;  // a live writer kept it past the wait

  const FileRead current = ReadPatiently(files, path, timing);
  Text text = TextOf(current.status == Status::kAbsent && seed ? *seed : current);
  if (!text.text) return text.error;
  for (const Setting& setting : settings) {
    std::optional<std::string> updated =
        ini::WithValue(text.text->text, setting.section, setting.key, setting.value);
    if (!updated) return kErrorCannotStore;
    text.text->text = std::move(*updated);
  }
  const std::optional<std::string> bytes = EncodeSettings(*text.text);
  if (!bytes) return kErrorCannotStore;

  const std::string temporary = TemporaryPathFor(path);
  if (const ErrorCode error = files.WriteAndFlush(temporary, *bytes)) {
    files.Remove(temporary);
    return error;
  }
  // Another program may hold the settings file open for a moment (a virus
  // scanner, an editor saving it): the replacement is tried again.
  const ErrorCode error = Patiently(
      files, timing.read_retries, timing.pause_ms, [&] { return files.Replace(temporary, path); },
      [](ErrorCode error) { return error != 0; });
  if (error != 0) files.Remove(temporary);
  return error;
}

std::string FolderOf(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

}  // namespace

ReadResult ReadText(FileOps& files, const Places& places, const Timing& timing) {
  FileRead read{Status::kAbsent, {}, 0};
  std::string path;
  for (const std::string* place : {&places.user, &places.program}) {
    if (read.status != Status::kAbsent || place->empty()) continue;
    path = *place;
    read = ReadPatiently(files, path, timing);
  }
  Text text = TextOf(read);
  if (!text.text) return {false, {}, text.error, std::move(path)};
  return {true, std::move(text.text->text), 0, std::move(path)};
}

std::string ValueIn(std::string_view text, std::string_view section, std::string_view key) {
  std::string value = ini::FindValue(text, section, key).value_or(std::string());
  value.resize(utf::PrefixOfCharacters(value, kMaxValueLength));
  return value;
}

ReadResult ReadValue(FileOps& files, const Places& places, std::string_view section,
                     std::string_view key, const Timing& timing) {
  ReadResult read = ReadText(files, places, timing);
  if (read.ok) read.value = ValueIn(read.value, section, key);
  return read;
}

WriteResult WriteValues(FileOps& files, const Places& places, std::span<const Setting> settings,
                        const Timing& timing) {
  for (const Setting& setting : settings)
    if (!ini::CanStore(setting.section, setting.key, setting.value))
      return {kErrorCannotStore, places.program.empty() ? places.user : places.program, 0};
  if (places.program.empty() && places.user.empty()) return {kErrorPathNotFound, {}, 0};

  // The per-user file, once it exists, holds the settings.
  if (places.program.empty() ||
      (!places.user.empty() && files.Read(places.user).status != Status::kAbsent))
    return {WriteFileAt(files, places.user, settings, nullptr, timing), places.user, 0};

  const ErrorCode refused = WriteFileAt(files, places.program, settings, nullptr, timing);
  if (refused == 0 || !IsRefusal(refused) || places.user.empty())
    return {refused, places.program, 0};

  // The program's folder refuses writes: the settings move to the per-user
  // file, which starts as a copy of the program's file so that nothing is lost.
  const FileRead seed = ReadPatiently(files, places.program, timing);
  if (Failed(seed)) return {ErrorOf(seed), places.program, refused};
  if (const ErrorCode error = files.CreateFolder(FolderOf(places.user)))
    return {error, places.user, refused};
  return {WriteFileAt(files, places.user, settings, &seed, timing), places.user, refused};
}

}  // namespace quorvel::settings
