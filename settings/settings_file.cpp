#include "settings/settings_file.h"

#include "settings/ini_text.h"

namespace quorvel::settings {

std::string SettingsPathIn(std::string_view directory) {
  std::string path(directory);
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
  path += kSettingsFileName;
  return path;
}

std::string TemporaryPathFor(const std::string& path) { return path + ".tmp"; }
std::string LockPathFor(const std::string& path) { return path + ".lock"; }

namespace {

FileRead ReadPatiently(FileOps& files, const std::string& path, const Timing& timing) {
  FileRead read = files.Read(path);
  for (int attempt = 0; read.status == FileRead::Status::kBusy && attempt < timing.read_retries;
       ++attempt) {
    files.Pause(timing.pause_ms);
    read = files.Read(path);
  }
  return read;
}

}  // namespace

ReadResult ReadValue(FileOps& files, const std::string& path, std::string_view section,
                     std::string_view key, const Timing& timing) {
  const FileRead read = ReadPatiently(files, path, timing);
  switch (read.status) {
    case FileRead::Status::kAbsent:
      return {true, {}, 0};
    case FileRead::Status::kOk: {
      std::string value = ini::FindValue(read.bytes, section, key).value_or(std::string());
      if (value.size() > kMaxValueLength) value.resize(kMaxValueLength);
      return {true, std::move(value), 0};
    }
    case FileRead::Status::kBusy:
    case FileRead::Status::kFailed:
      break;
  }
  return {false, {}, read.error};
}

ErrorCode WriteValue(FileOps& files, const std::string& path, std::string_view section,
                     std::string_view key, std::string_view value, const Timing& timing) {
  if (!ini::CanStore(section, key, value)) return kErrorCannotStore;

  // A lock that stays taken past the wait belongs to a writer that died on a
  // file system that does not delete it for us; writing without it beats
  // never saving again.
  std::unique_ptr<FileLock> lock = files.TryLock(LockPathFor(path));
  for (int attempt = 0; !lock && attempt < timing.lock_retries; ++attempt) {
    files.Pause(timing.pause_ms);
    lock = files.TryLock(LockPathFor(path));
  }

  const FileRead current = ReadPatiently(files, path, timing);
  if (current.status == FileRead::Status::kBusy || current.status == FileRead::Status::kFailed)
    return current.error != 0 ? current.error : kErrorCannotStore;

  const std::optional<std::string> updated = ini::WithValue(
      current.status == FileRead::Status::kOk ? current.bytes : std::string(), section, key, value);
  if (!updated) return kErrorCannotStore;

  const std::string temporary = TemporaryPathFor(path);
  if (const ErrorCode error = files.WriteAndFlush(temporary, *updated)) {
    files.Remove(temporary);
    return error;
  }
  // Another program may hold the settings file open for a moment (a virus
  // scanner, an editor saving it): the replacement is tried again briefly.
  ErrorCode error = files.Replace(temporary, path);
  for (int attempt = 0; error != 0 && attempt < timing.read_retries; ++attempt) {
    files.Pause(timing.pause_ms);
    error = files.Replace(temporary, path);
  }
  if (error != 0) files.Remove(temporary);
  return error;
}

}  // namespace quorvel::settings
