// Reading and writing values of the settings file: the rules that keep the
// file whole and every update, and that choose where the settings live, over a
// small set of file operations that the Win32 shell (and the tests) provide.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace quorvel::settings {

// At most this many characters of a value are returned by a read.
inline constexpr std::size_t kMaxValueLength = 79;

inline constexpr std::string_view kSettingsFileName = "quorvel.ini";

// The settings file's path in a directory (UTF-8). A directory that already
// ends in a separator, such as a drive root, gets no second one.
std::string SettingsPathIn(std::string_view directory);

// The per-user settings file of the program in `program_folder`, under the
// user's local application data: each program folder has a folder of its own
// there, named after it and told apart by a hash of `folder_key`, the folder's
// whole path in one letter case as the file system folds it, for example
//   C:\Program Files\Quorvel -> LOCALAPPDATA\Quorvel\Quorvel (8c2f13a0)\quorvel.ini
// With the program folder unknown (""), LOCALAPPDATA\Quorvel\quorvel.ini.
std::string UserSettingsPath(std::string_view local_app_data, std::string_view program_folder,
                             std::string_view folder_key);

// The key that earlier versions hashed: the path with its ASCII letters in
// lower case. Their per-user files are still found by it.
std::string AsciiFoldedKey(std::string_view program_folder);

// A system error code (GetLastError or errno); 0 means success. The codes the
// store gives itself carry Windows' numbers, so the system can describe them.
using ErrorCode = std::uint32_t;
inline constexpr ErrorCode kErrorPathNotFound = 3;  // no place for the settings is known
inline constexpr ErrorCode kErrorBusy = 32;         // another program holds the file
// A section, key or value that a profile file cannot hold (a line break, say).
inline constexpr ErrorCode kErrorCannotStore = 87;
// A file whose text cannot be decoded: it is neither read nor rewritten.
inline constexpr ErrorCode kErrorUndecodable = 1113;
// A place that refuses writes for good.
inline constexpr ErrorCode kErrorAccessDenied = 5, kErrorWriteProtect = 19, kErrorCannotMake = 82,
                           kErrorFileReadOnly = 6009;

// Whether an error in making a new file means the folder refuses writes for
// good (access denied, a write-protected medium, a folder that is gone)
// rather than for a moment.
bool IsRefusal(ErrorCode error);

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

struct LockAttempt {
  std::unique_ptr<FileLock> lock;  // null while a live writer holds the lock...
  ErrorCode refused = 0;           // ...or, when not 0, because it cannot be made at all
  int waited_ms = 0;               // for the turn among this machine's writers
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
  // or the new file, whole. Windows refuses to replace a file that another
  // program has open, however it shares it, with ERROR_ACCESS_DENIED, the
  // code it also gives for a read-only file.
  virtual ErrorCode Replace(const std::string& from, const std::string& to) = 0;
  // Whether the file carries the read-only attribute.
  virtual bool IsReadOnly(const std::string& path) = 0;
  virtual void Remove(const std::string& path) = 0;
  // Waits up to `wait_ms` for its turn among this machine's writers, then
  // creates the lock file, or takes over one that no live writer holds (left
  // by a writer that died).
  virtual LockAttempt TryLock(const std::string& path, int wait_ms) = 0;
  // Creates the folder unless it exists.
  virtual ErrorCode CreateFolder(const std::string& path) = 0;
  virtual void Pause(int milliseconds) = 0;
};

// A file held by another program is tried again, `pause_ms` apart; the
// waits of one read or one write, the turn among this machine's writers
// included, add up to at most `longest_wait_ms`.
struct Timing {
  int longest_wait_ms = 4000;
  int turn_wait_ms = 2000;
  int pause_ms = 20;
};

// Where the settings live: the file beside the program and the per-user file
// that takes over when the program's folder refuses writes. Either path may
// be unknown (empty).
struct Places {
  std::string program;
  std::string user;
  ErrorCode program_unknown = 0;  // why `program` is empty, when it is
};

struct ReadResult {
  bool ok = false;    // false: the file exists but could not be read or decoded
  std::string value;  // "" when the file, the section or the key is absent
  ErrorCode error = 0;
  std::string path;  // the file read, or the one that could not be read
};

// The settings' text (decoded; "" when there is no file), from the per-user
// file while it exists, else from the program's. `value` holds the text.
ReadResult ReadText(FileOps& files, const Places& places, const Timing& timing = {});

// The value under section/key in the settings' text, cut to kMaxValueLength
// characters.
std::string ValueIn(std::string_view text, std::string_view section, std::string_view key);

// ReadText and ValueIn in one.
ReadResult ReadValue(FileOps& files, const Places& places, std::string_view section,
                     std::string_view key, const Timing& timing = {});

struct Setting {
  std::string_view section;
  std::string_view key;
  std::string_view value;
  bool operator==(const Setting&) const = default;
};

struct WriteResult {
  ErrorCode error = 0;          // 0: every setting is stored
  std::string path;             // the file written, or the last one tried
  ErrorCode program_error = 0;  // why the program's folder refused, when it did
  bool held = false;            // `error`: another program kept the file open past the wait
  // This write moved the settings from the program's folder to `path`, the
  // per-user file.
  bool Moved() const { return error == 0 && program_error != 0; }
};

// Stores the settings, in order, in one replacement of the file: takes its
// lock, reads it, changes the keys, writes the result to a temporary file
// beside it and replaces the file with it; on failure the file is left as it
// was. The per-user file is written while it exists. When the program's
// folder refuses writes (the lock or temporary file cannot be made there, or
// the settings file is read-only), the per-user file is made, starting from a
// copy of the program's file; a file that another program holds is only
// waited for.
WriteResult WriteValues(FileOps& files, const Places& places, std::span<const Setting> settings,
                        const Timing& timing = {});

// The helper files beside the settings file.
std::string TemporaryPathFor(const std::string& path);
std::string LockPathFor(const std::string& path);

}  // namespace quorvel::settings
