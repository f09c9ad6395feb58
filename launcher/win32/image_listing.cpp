#include "launcher/win32/image_listing.h"

#include <memory>

#include "launcher/image_files.h"

namespace quorvel::launcher {
namespace {

std::vector<DirectoryEntry> CurrentDirectoryEntries() {
  std::vector<DirectoryEntry> entries;
  // The folder's entries in large batches: FindNextFileW asks the file
  // system for a few dozen at a time, which costs dearly in big folders.
  // (FileIdBothDirectoryInfo is the entry form that Windows 7 knows too.)
  const win::UniqueFile folder(::CreateFileW(
      L".", FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!folder) return entries;
  constexpr std::size_t kBatchBytes = 64 * 1024;
  const auto batch = std::make_unique<std::byte[]>(kBatchBytes);
  while (::GetFileInformationByHandleEx(folder.get(), FileIdBothDirectoryInfo, batch.get(),
                                        kBatchBytes)) {
    for (std::size_t offset = 0;;) {
      const auto& found = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(batch.get() + offset);
      // Unit for unit (WCHAR is UTF-16 here): a name that is not well-formed
      // UTF-16 stays the name of its file.
      const auto* name = reinterpret_cast<const char16_t*>(found.FileName);
      entries.push_back({std::u16string(name, found.FileNameLength / sizeof(WCHAR)),
                         (found.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                         (found.FileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                         (found.FileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0});
      if (found.NextEntryOffset == 0) break;
      offset += found.NextEntryOffset;
    }
  }
  return entries;
}

}  // namespace

ImageListing::ImageListing() : thread_(::CreateThread(nullptr, 0, Run, this, 0, nullptr)) {}

ImageListing::~ImageListing() { Wait(); }

DWORD WINAPI ImageListing::Run(void* listing) {
  static_cast<ImageListing*>(listing)->files_ = ListNow();
  return 0;
}

void ImageListing::Wait() {
  if (!thread_) return;
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

std::vector<std::u16string> ImageListing::Take() {
  if (!thread_) return ListNow();
  Wait();
  return std::move(files_);
}

std::vector<std::u16string> ImageListing::ListNow() {
  return ImageFiles(CurrentDirectoryEntries());
}

}  // namespace quorvel::launcher
