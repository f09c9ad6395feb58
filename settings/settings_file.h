// Reading and writing one value of the settings file: the rules that keep the
// file whole and every update, over a small set of file operations that the
// Win32 shell (and the tests) provide.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quorvel::settings {

// At most this many characters of a value are returned by a read.
inline constexpr std::size_t kMaxValueLength = 79;

inline constexpr std::string_view kSettingsFileName = "quorvel.ini";

// The settings file's path in the program's directory (UTF-8). A directory
// that already ends in a separator, such as a drive root, gets no second one.
std::string SettingsPathIn(std::string_view directory);

// A system error code (GetLastError or errno); 0 means success.
using ErrorCode = std::uint32_t;

// Reported for a section, key or value that a profile file cannot hold (a line
// break, for instance); the same number as Windows' ERROR_INVALID_PARAMETER.
inline constexpr ErrorCode kErrorCannotStore = 87;

struct FileRead {
  enum class Status { kOk, kAbsent, kBusy, kFailed };
  Status status = Status::kFailed;
  std::string bytes;  // the whole file when kOk
  ErrorCode error = 0;
};

// A held lock file; destroying it releases (deletes) the lock.
class FileLock {
 public:
  virtual ~FileLock() = default;
};

// The file operations the store needs. Paths are UTF-8.
class FileOps {
 public:
  virtual ~FileOps() = default;
  // The whole file. kAbsent when the file (or its folder) does not exist,
  // kBusy while another program holds it open exclusively.
  virtual FileRead Read(const std::string& path) = 0;
  // Creates or truncates `path`, writes all bytes and flushes them to disk.
  virtual ErrorCode WriteAndFlush(const std::string& path, std::string_view bytes) = 0;
  // Replaces `to` by `from` in one step, so that `to` is always either the old
  // or the new file, whole.
  virtual ErrorCode Replace(const std::string& from, const std::string& to) = 0;
  virtual void Remove(const std::string& path) = 0;
  // Creates the lock file only if it is absent; nullptr while another writer
  // holds it.
  virtual std::unique_ptr<FileLock> TryLock(const std::string& path) = 0;
  virtual void Pause(int milliseconds) = 0;
};

struct Timing {
  int read_retries = 25;   // a file held by another program: reads and replaces...
  int lock_retries = 100;  // ...and waits for the lock, each...
  int pause_ms = 20;       // ...this long apart
};

struct ReadResult {
  bool ok = false;    // false: the file exists but could not be read
  std::string value;  // "" when the file, the section or the key is absent
  ErrorCode error = 0;
};

// The value under section/key, cut to kMaxValueLength characters.
ReadResult ReadValue(FileOps& files, const std::string& path, std::string_view section,
                     std::string_view key, const Timing& timing = {});

// Stores the value: takes the lock file (or, after waiting its time, goes on
// without it), reads the current file, changes the one key, writes the result
// to a temporary file beside it and replaces the settings file with it.
// Returns 0 or the error code of the step that failed; the settings file is
// then left as it was.
ErrorCode WriteValue(FileOps& files, const std::string& path, std::string_view section,
                     std::string_view key, std::string_view value, const Timing& timing = {});

// The helper files beside the settings file.
std::string TemporaryPathFor(const std::string& path);
std::string LockPathFor(const std::string& path);

}  // namespace quorvel::settings
