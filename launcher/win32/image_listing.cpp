#include "launcher/win32/image_listing.h"

#include <atomic>
#include <cstddef>
#include <cwchar>
#include <memory>
#include <utility>

#include "launcher/image_files.h"
#include "launcher/win32/launch.h"
#include "platform/paths.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace quorvel::launcher {
namespace {

constexpr std::size_t kBatchBytes = 64 * 1024;
// The slower way's batch: about as many entries as one of the fast way holds.
constexpr int kFindBatchEntries = 480;
// The batches read before the window shows, if they come soon. Read from a
// drive they do, even while the machine is busy (the thread must first be
// given a core); under Wine the first call reads every name of the folder,
// which a very big one takes longer for; a slow share is not waited for.
constexpr int kFirstBatches = 2;
constexpr DWORD kFirstBatchesWaitMs = 25;

// What a file system that does not know the information class answers (some
// network and virtual machine file systems).
bool Refused(DWORD error) {
  return error == ERROR_INVALID_PARAMETER || error == ERROR_NOT_SUPPORTED ||
         error == ERROR_INVALID_FUNCTION;
}

// No more entries, or none at all (a drive's root has no "." or "..").
bool AtEnd(DWORD error) { return error == ERROR_NO_MORE_FILES || error == ERROR_FILE_NOT_FOUND; }

// Unit for unit: a name that is not well-formed UTF-16 stays the name of its
// file.
DirectoryEntry EntryOf(const WCHAR* name, std::size_t length, DWORD attributes) {
  return {std::u16string(win::AsUtf16({name, length})),
          (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, (attributes & FILE_ATTRIBUTE_HIDDEN) != 0,
          (attributes & FILE_ATTRIBUTE_SYSTEM) != 0};
}

#ifdef QUORVEL_TEST_SEAMS
// Test builds only. QUORVEL_TEST_LISTING holds any of "refuse" (the folder
// refuses the fast way), "gate" (after the first batches, the thread waits
// for the event ImageListing::kTestGate to be set before each batch) and
// "fail:CODE" (the batch after the first ones fails with the error CODE).
struct TestSeam {
  bool refuse = false;
  win::UniqueHandle gate;
  DWORD fail = 0;
};
TestSeam ReadTestSeam() {
  TestSeam seam;
  wchar_t text[64] = {};
  ::GetEnvironmentVariableW(L"QUORVEL_TEST_LISTING", text, 64);
  const std::wstring_view value = text;
  seam.refuse = value.find(L"refuse") != value.npos;
  if (value.find(L"gate") != value.npos)
    seam.gate.reset(::CreateEventW(nullptr, TRUE, FALSE, ImageListing::kTestGate));
  if (const auto at = value.find(L"fail:"); at != value.npos)
    seam.fail = std::wcstoul(text + at + 5, nullptr, 10);
  return seam;
}
#endif

}  // namespace

// The folder, read one batch at a time: the fast way (FileIdBothDirectoryInfo,
// which Windows 7 knows too, many entries to a call where FindNextFileW asks
// the file system for a few dozen), else the way every file system knows.
struct ImageListing::Read {
  std::atomic<int> owners = 1;  // the listing, and the thread while it runs
  std::atomic<bool> abandoned = false, done = false;
  win::UniqueHandle first_batches{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};  // or done
  win::UniqueFile folder{::CreateFileW(
      L".", FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  win::UniqueFind find;
  // For the slower way, in the folder listed whatever the current one is by then.
  const std::u16string pattern = paths::Join<char16_t>(CurrentDirectory(), u"*");
  bool first = true;
  std::unique_ptr<std::byte[]> batch = std::make_unique<std::byte[]>(kBatchBytes);
  std::vector<DirectoryEntry> entries;  // read so far
  int batches = 0;
  Result result;
  win::UniqueHandle thread;
  std::atomic<HWND> window = nullptr;  // to be told when the folder is read
  UINT message = 0;
#ifdef QUORVEL_TEST_SEAMS
  TestSeam seam = ReadTestSeam();
#endif

  // Appends a batch to `entries`; false at the folder's end or at an error,
  // which is kept in `result`.
  bool ReadBatch();
  bool FindBatch();
  bool Ended(DWORD error) {
    if (!AtEnd(error)) result.error = error;
    return false;
  }
  void Finish() {
    folder.reset();
    find.reset();
    result.files = ImageFiles(std::move(entries));
    done = true;
    ::SetEvent(first_batches.get());
  }
  void Release() {
    if (--owners == 0) delete this;
  }
};

bool ImageListing::Read::ReadBatch() {
#ifdef QUORVEL_TEST_SEAMS
  if (batches >= kFirstBatches && seam.gate) ::WaitForSingleObject(seam.gate.get(), INFINITE);
  if (batches >= kFirstBatches && seam.fail) return Ended(seam.fail);
#endif
  if (find) return FindBatch();
  bool read = folder && ::GetFileInformationByHandleEx(folder.get(), FileIdBothDirectoryInfo,
                                                       batch.get(), kBatchBytes);
#ifdef QUORVEL_TEST_SEAMS
  if (seam.refuse) read = false, ::SetLastError(ERROR_INVALID_PARAMETER);
#endif
  if (!read) {
    const DWORD error = ::GetLastError();
    if (!std::exchange(first, false) || (folder && !Refused(error))) return Ended(error);
    WIN32_FIND_DATAW found;
    find.reset(::FindFirstFileExW(win::WideZ(pattern), FindExInfoBasic, &found,
                                  FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return Ended(::GetLastError());
    entries.push_back(
        EntryOf(found.cFileName, std::wcslen(found.cFileName), found.dwFileAttributes));
    return FindBatch();
  }
  first = false;
  for (std::size_t offset = 0;;) {
    const auto& found = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(batch.get() + offset);
    entries.push_back(
        EntryOf(found.FileName, found.FileNameLength / sizeof(WCHAR), found.FileAttributes));
    if (found.NextEntryOffset == 0) return true;
    offset += found.NextEntryOffset;
  }
}

bool ImageListing::Read::FindBatch() {
  WIN32_FIND_DATAW found;
  for (int count = 0; count < kFindBatchEntries; ++count) {
    if (!::FindNextFileW(find.get(), &found)) return Ended(::GetLastError());
    entries.push_back(
        EntryOf(found.cFileName, std::wcslen(found.cFileName), found.dwFileAttributes));
  }
  return true;
}

ImageListing::ImageListing() : read_(new Read) {
  ++read_->owners;
  read_->thread.reset(::CreateThread(nullptr, 0, Run, read_, 0, nullptr));
  if (read_->thread)  // the window comes first
    ::SetThreadPriority(read_->thread.get(), THREAD_PRIORITY_BELOW_NORMAL);
  else
    Run(read_);  // no thread to be had: read here
}

ImageListing::~ImageListing() {
  if (!read_->done) {
    read_->abandoned = true;
    // A read blocked in the file system (a share that stopped answering)
    // would keep the process alive after its window has gone.
    if (read_->thread) ::CancelSynchronousIo(read_->thread.get());
  }
  read_->Release();
}

bool ImageListing::DoneSoon() const {
  ::WaitForSingleObject(read_->first_batches.get(), kFirstBatchesWaitMs);
  return read_->done;
}

bool ImageListing::PostWhenDone(HWND window, UINT message) {
  read_->message = message;
  read_->window = window;
  return !read_->done;  // else the thread may post too
}

DWORD WINAPI ImageListing::Run(void* shared) {
  auto& read = *static_cast<Read*>(shared);
  while (!read.abandoned && read.ReadBatch())
    if (++read.batches == kFirstBatches) ::SetEvent(read.first_batches.get());
  if (!read.abandoned) {
    read.Finish();
    if (HWND window = read.window) ::PostMessageW(window, read.message, 0, 0);
  }
  read.Release();
  return 0;
}

ImageListing::Result ImageListing::Take() { return std::move(read_->result); }

}  // namespace quorvel::launcher
