#include "settings/win32/win32_file_ops.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "platform/paths.h"
#include "platform/win32/handles.h"
#include "platform/win32/paths.h"
#include "platform/win32/text.h"

namespace quorvel::settings {

// The portable store writes Windows' error numbers itself: here they meet
// their names in windows.h.
static_assert(kErrorPathNotFound == ERROR_PATH_NOT_FOUND && kErrorBusy == ERROR_SHARING_VIOLATION);
static_assert(kErrorCannotStore == ERROR_INVALID_PARAMETER);
static_assert(kErrorUndecodable == ERROR_NO_UNICODE_TRANSLATION);
static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED &&
              kErrorWriteProtect == ERROR_WRITE_PROTECT);
static_assert(kErrorCannotMake == ERROR_CANNOT_MAKE && kErrorFileReadOnly == ERROR_FILE_READ_ONLY);

namespace {

// Writers on this machine first queue on a mutex named after the settings
// file: the system hands it on in turn, so a writer that comes back at once
// cannot keep taking the lock file from one that waits. The lock file then
// keeps out writers elsewhere (on a shared folder).

class QueueTurn {
 public:
  explicit QueueTurn(win::UniqueHandle mutex) : mutex_(std::move(mutex)) {}
  QueueTurn(QueueTurn&&) = default;
  ~QueueTurn() {
    if (mutex_) ::ReleaseMutex(mutex_.get());
  }

 private:
  win::UniqueHandle mutex_;
};

class Win32FileLock final : public FileLock {
 public:
  Win32FileLock(QueueTurn turn, win::UniqueFile file)
      : turn_(std::move(turn)), file_(std::move(file)) {}

 private:
  // The file goes first, then the turn: the next in the queue finds no lock.
  QueueTurn turn_;
  win::UniqueFile file_;  // FILE_FLAG_DELETE_ON_CLOSE: closing it removes the lock
};

// The mutex's name: the lock file's path in one letter case (file names match
// in any case) and hashed, since a name may not hold a backslash.
std::wstring QueueName(const std::wstring& path) {
  unsigned long long hash = 14695981039346656037ull;  // FNV-1a
  for (const char16_t unit : win::FoldedCase(win::AsUtf16(path)))
    hash = (hash ^ unit) * 1099511628211ull;
  wchar_t name[40];
  ::wsprintfW(name, L"Quorvel.settings.%08lx%08lx", static_cast<unsigned long>(hash >> 32),
              static_cast<unsigned long>(hash));
  return name;
}

// The store's paths come from the system's own names, so each converts; one
// that would not is a failure, never another file's name.
constexpr DWORD kUnconvertible = kErrorUndecodable;

bool IsAbsence(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

FileRead Win32FileOps::Read(const std::string& path) {
  const std::optional<std::wstring> wide = win::Widen(path);
  if (!wide) return {FileRead::Status::kFailed, {}, kUnconvertible};
  win::UniqueFile file(::CreateFileW(wide->c_str(), GENERIC_READ,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (IsAbsence(error)) return {FileRead::Status::kAbsent, {}, error};
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
      return {FileRead::Status::kBusy, {}, error};
    return {FileRead::Status::kFailed, {}, error};
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return {FileRead::Status::kFailed, {}, ::GetLastError()};
  if (size.QuadPart > std::numeric_limits<DWORD>::max() / 2)
    return {FileRead::Status::kFailed, {}, ERROR_FILE_TOO_LARGE};

  FileRead result{FileRead::Status::kOk, {}, 0};
  result.bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t filled = 0;
  while (filled < result.bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), result.bytes.data() + filled,
                    static_cast<DWORD>(result.bytes.size() - filled), &got, nullptr))
      return {FileRead::Status::kFailed, {}, ::GetLastError()};
    if (got == 0) break;  // the file shrank meanwhile
    filled += got;
  }
  result.bytes.resize(filled);
  return result;
}

ErrorCode Win32FileOps::WriteAndFlush(const std::string& path, std::string_view bytes) {
  const std::optional<std::wstring> wide = win::Widen(path);
  if (!wide) return kUnconvertible;
  win::UniqueFile file(::CreateFileW(wide->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return ::GetLastError();
  size_t written = 0;
  while (written < bytes.size()) {
    DWORD put = 0;
    if (!::WriteFile(file.get(), bytes.data() + written, static_cast<DWORD>(bytes.size() - written),
                     &put, nullptr))
      return ::GetLastError();
    written += put;
  }
  if (!::FlushFileBuffers(file.get())) return ::GetLastError();
  return 0;
}

ErrorCode Win32FileOps::Replace(const std::string& from, const std::string& to) {
  const std::optional<std::wstring> wide_from = win::Widen(from), wide_to = win::Widen(to);
  if (!wide_from || !wide_to) return kUnconvertible;
  if (!::MoveFileExW(wide_from->c_str(), wide_to->c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return ::GetLastError();
  return 0;
}

bool Win32FileOps::IsReadOnly(const std::string& path) {
  const std::optional<std::wstring> wide = win::Widen(path);
  const DWORD attributes = wide ? ::GetFileAttributesW(wide->c_str()) : INVALID_FILE_ATTRIBUTES;
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

void Win32FileOps::Remove(const std::string& path) {
  if (const std::optional<std::wstring> wide = win::Widen(path)) ::DeleteFileW(wide->c_str());
}

LockAttempt Win32FileOps::TryLock(const std::string& path, int wait_ms) {
  // The lock is a file that its holder keeps open, unshared and deleted when
  // the handle closes, also when the process dies. One that power loss left
  // behind is open nowhere, so it can be opened unshared: then it is taken
  // over at once. A live holder's lock cannot be opened at all.
  const std::optional<std::wstring> converted = win::Widen(path);
  if (!converted) return {nullptr, kUnconvertible};
  const std::wstring& wide = *converted;
  win::UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, QueueName(wide).c_str()));
  int waited_ms = 0;
  if (mutex) {
    const ULONGLONG start = ::GetTickCount64();
    // WAIT_ABANDONED: a writer died in its turn; the turn is ours now.
    const DWORD waited = wait_ ? wait_(mutex.get(), wait_ms)
                               : ::WaitForSingleObject(mutex.get(), static_cast<DWORD>(wait_ms));
    waited_ms = static_cast<int>(std::min<ULONGLONG>(::GetTickCount64() - start, wait_ms));
    if (waited == WAIT_TIMEOUT) return {nullptr, 0, waited_ms};
    if (waited == WAIT_FAILED) mutex.reset();  // no queue: the lock file alone decides
  }
  QueueTurn turn(std::move(mutex));
  constexpr DWORD kAccess = GENERIC_WRITE | DELETE;
  constexpr DWORD kFlags = FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE;
  win::UniqueFile file(
      ::CreateFileW(wide.c_str(), kAccess, 0, nullptr, CREATE_NEW, kFlags, nullptr));
  DWORD error = file ? 0 : ::GetLastError();
  if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
    file.reset(::CreateFileW(wide.c_str(), kAccess, 0, nullptr, OPEN_EXISTING, kFlags, nullptr));
    error = file ? 0 : ::GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_FILE_NOT_FOUND)
      return {nullptr, 0, waited_ms};  // held
  }
  // A lock file that its last holder has just closed stays, deleted but still
  // there, until every handle to it is gone; Windows refuses to make or open
  // it meanwhile with ERROR_ACCESS_DENIED, as it refuses a new file in a folder
  // that takes none. Only the deleted file also refuses its attributes: it is
  // held for a moment more.
  if (error == ERROR_ACCESS_DENIED &&
      ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES &&
      ::GetLastError() == ERROR_ACCESS_DENIED)
    return {nullptr, 0, waited_ms};
  if (error != 0) return {nullptr, error, waited_ms};
  return {std::make_unique<Win32FileLock>(std::move(turn), std::move(file)), 0, waited_ms};
}

ErrorCode Win32FileOps::CreateFolder(const std::string& path) {
  const std::optional<std::wstring> wide = win::Widen(path);
  if (!wide) return kUnconvertible;
  if (::CreateDirectoryW(wide->c_str(), nullptr)) return 0;
  DWORD error = ::GetLastError();
  const std::string_view parent = paths::FolderOf<char>(path);
  if (error == ERROR_PATH_NOT_FOUND && !parent.empty() && parent != path) {
    // A missing parent is made first.
    if (const ErrorCode made = CreateFolder(std::string(parent))) return made;
    if (::CreateDirectoryW(wide->c_str(), nullptr)) return 0;
    error = ::GetLastError();
  }
  return error == ERROR_ALREADY_EXISTS ? 0 : error;
}

void Win32FileOps::Pause(int milliseconds) {
  wait_ ? void(wait_(nullptr, milliseconds)) : ::Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace quorvel::settings
