#include "settings/settings_file.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/ascii.h"
#include "platform/paths.h"
#include "platform/utf.h"
#include "settings/ini_text.h"
#include "settings/settings_text.h"

namespace quorvel::settings {
namespace {

// The program folder's name in its per-user folder's name is cut to this many characters.
constexpr std::size_t kMaxFolderNameLength = 40;

}  // namespace

std::string SettingsPathIn(std::string_view directory) {
  return paths::Join<char>(directory, kSettingsFileName);
}

std::string UserSettingsPath(std::string_view local_app_data, std::string_view program_folder,
                             std::string_view folder_key) {
  const std::string folder = paths::Join<char>(local_app_data, "Quorvel");
  program_folder = paths::Trimmed(program_folder);
  if (program_folder.empty()) return SettingsPathIn(folder);

  while (!folder_key.empty() && paths::IsSeparator(folder_key.back())) folder_key.remove_suffix(1);
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (const char c : folder_key) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  std::string_view name = paths::NameOf(program_folder);
  if (name.empty() || name.ends_with(':')) name = program_folder.substr(0, 1);  // a drive's root
  name = name.substr(0, utf::PrefixOfCharacters(name, kMaxFolderNameLength));
  constexpr char kDigits[] = "0123456789abcdef";
  std::string tag = " (";
  for (int shift = 28; shift >= 0; shift -= 4) tag += kDigits[(hash >> shift) & 0xF];
  return SettingsPathIn(paths::Join<char>(folder, std::string(name) + tag + ")"));
}

std::string AsciiFoldedKey(std::string_view program_folder) {
  std::string key(program_folder);
  for (char& c : key) c = ascii::Lower(c);
  return key;
}

std::string TemporaryPathFor(const std::string& path) { return path + ".tmp"; }
std::string LockPathFor(const std::string& path) { return path + ".lock"; }

bool IsRefusal(ErrorCode error) {
  return error == kErrorPathNotFound || error == kErrorAccessDenied ||
         error == kErrorWriteProtect || error == kErrorCannotMake || error == kErrorFileReadOnly;
}

namespace {

using Status = FileRead::Status;

// The waits of one read or write: each attempt that meets a file held by
// another program is tried again after a pause, while the waits so far leave
// room for one.
class Patience {
 public:
  Patience(FileOps& files, const Timing& timing)
      : files_(files), pause_ms_(timing.pause_ms), left_ms_(timing.longest_wait_ms) {}

  // `attempt` until `again` no longer holds of its result or the time is up.
  template <typename Attempt, typename Again>
  auto Retry(Attempt attempt, Again again) {
    auto result = attempt();
    while (again(result) && left_ms_ >= pause_ms_ && pause_ms_ > 0) {
      files_.Pause(pause_ms_);
      left_ms_ -= pause_ms_;
      result = attempt();
    }
    return result;
  }
  int left_ms() const { return left_ms_; }
  void Spent(int milliseconds) { left_ms_ -= std::min(milliseconds, left_ms_); }

 private:
  FileOps& files_;
  const int pause_ms_;
  int left_ms_;
};

FileRead ReadPatiently(FileOps& files, const std::string& path, Patience& patience) {
  return patience.Retry([&] { return files.Read(path); },
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

struct FileWrite {
  ErrorCode error = 0;
  bool refused = false;  // the folder or the file refuses writes for good
  bool held = false;     // another program keeps the file open
};

// Applies the settings to the file at `path` while holding its lock. `seed`
// is the file to start from when the one at `path` does not exist yet.
FileWrite WriteFileAt(FileOps& files, const std::string& path, std::span<const Setting> settings,
                      const FileRead* seed, Patience& patience, const Timing& timing) {
  // The first try waits for this machine's writers' turn; later ones for a writer elsewhere.
  int turn_wait_ms = std::min(timing.turn_wait_ms, patience.left_ms());
  const LockAttempt attempt = patience.Retry(
      [&] {
        LockAttempt attempt = files.TryLock(LockPathFor(path), std::exchange(turn_wait_ms, 0));
        patience.Spent(attempt.waited_ms);
        return attempt;
      },
      [](const LockAttempt& attempt) { return !attempt.lock && attempt.refused == 0; });
  // A lock file that cannot be made tells of the folder, as a temporary file would.
  if (attempt.refused != 0) return {attempt.refused, IsRefusal(attempt.refused)};
  if (!attempt.lock) return {kErrorBusy};  // a live writer kept it past the wait

  const FileRead current = ReadPatiently(files, path, patience);
  Text text = TextOf(current.status == Status::kAbsent && seed ? *seed : current);
  if (!text.text) return {text.error};
  for (const Setting& setting : settings) {
    std::optional<std::string> updated =
        ini::WithValue(text.text->text, setting.section, setting.key, setting.value);
    if (!updated) return {kErrorCannotStore};
    text.text->text = std::move(*updated);
  }
  const std::optional<std::string> bytes = EncodeSettings(*text.text);
  if (!bytes) return {kErrorCannotStore};

  const std::string temporary = TemporaryPathFor(path);
  if (const ErrorCode error = files.WriteAndFlush(temporary, *bytes)) {
    files.Remove(temporary);
    return {error, IsRefusal(error)};
  }
  // The folder takes new files. A replacement refused all the same is a file
  // that another program holds open for a while (a virus scanner, a viewer, a
  // sync program), unless the file itself is read-only.
  bool read_only = false;
  const ErrorCode error =
      patience.Retry([&] { return files.Replace(temporary, path); },
                     [&](ErrorCode error) {
                       read_only = error == kErrorAccessDenied && files.IsReadOnly(path);
                       return error != 0 && !read_only;
                     });
  if (error != 0) files.Remove(temporary);
  if (read_only) return {kErrorFileReadOnly, true};
  return {error, false, error == kErrorAccessDenied};
}

}  // namespace

ReadResult ReadText(FileOps& files, const Places& places, const Timing& timing) {
  Patience patience(files, timing);
  FileRead read{Status::kAbsent, {}, 0};
  std::string path;
  for (const std::string* place : {&places.user, &places.program}) {
    if (read.status != Status::kAbsent || place->empty()) continue;
    path = *place;
    read = ReadPatiently(files, path, patience);
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

  Patience patience(files, timing);
  // The per-user file, once it exists, holds the settings.
  if (places.program.empty() ||
      (!places.user.empty() && files.Read(places.user).status != Status::kAbsent)) {
    const FileWrite user = WriteFileAt(files, places.user, settings, nullptr, patience, timing);
    return {user.error, places.user, 0, user.held};
  }

  const FileWrite program = WriteFileAt(files, places.program, settings, nullptr, patience, timing);
  if (!program.refused || places.user.empty())
    return {program.error, places.program, 0, program.held};

  // The program's folder refuses writes: the settings move to the per-user
  // file, which starts as a copy of the program's file so that nothing is lost.
  const FileRead seed = ReadPatiently(files, places.program, patience);
  if (Failed(seed)) return {ErrorOf(seed), places.program, program.error};
  if (const ErrorCode error = files.CreateFolder(std::string(paths::FolderOf<char>(places.user))))
    return {error, places.user, program.error};
  const FileWrite user = WriteFileAt(files, places.user, settings, &seed, patience, timing);
  return {user.error, places.user, program.error, user.held};
}

}  // namespace quorvel::settings
