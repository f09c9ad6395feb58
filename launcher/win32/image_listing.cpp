#include "launcher/win32/image_listing.h"

#include <memory>

namespace quorvel::launcher {
namespace {

constexpr std::size_t kBatchBytes = 64 * 1024;

}  // namespace

ImageListing::ImageListing()
    : folder_(::CreateFileW(L".", FILE_LIST_DIRECTORY,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)),
      batch_(std::make_unique<std::byte[]>(kBatchBytes)) {
  if (ReadBatch() && ReadBatch()) {
    thread_.reset(::CreateThread(nullptr, 0, Run, this, 0, nullptr));
    if (thread_) return;
  }
  Run(this);  // the folder's end, or no thread to be had: on here
}

ImageListing::~ImageListing() { Wait(); }

DWORD WINAPI ImageListing::Run(void* listing) {
  auto& self = *static_cast<ImageListing*>(listing);
  while (self.ReadBatch()) {
  }
  self.files_ = ImageFiles(std::move(self.entries_));
  return 0;
}

// The folder's entries in large batches: FindNextFileW asks the file system
// for a few dozen at a time, which costs dearly in big folders.
// (FileIdBothDirectoryInfo is the entry form that Windows 7 knows too.)
bool ImageListing::ReadBatch() {
  if (!folder_ || !::GetFileInformationByHandleEx(folder_.get(), FileIdBothDirectoryInfo,
                                                  batch_.get(), kBatchBytes))
    return false;
  for (std::size_t offset = 0;;) {
    const auto& found = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(batch_.get() + offset);
    // Unit for unit (WCHAR is UTF-16 here): a name that is not well-formed
    // UTF-16 stays the name of its file.
    const auto* name = reinterpret_cast<const char16_t*>(found.FileName);
    entries_.push_back({std::u16string(name, found.FileNameLength / sizeof(WCHAR)),
                        (found.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                        (found.FileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0,
                        (found.FileAttributes & FILE_ATTRIBUTE_SYSTEM) != 0});
    if (found.NextEntryOffset == 0) return true;
    offset += found.NextEntryOffset;
  }
}

void ImageListing::Wait() {
  if (!thread_) return;
  ::WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
}

std::vector<std::u16string> ImageListing::Take() {
  Wait();
  return std::move(files_);
}

}  // namespace quorvel::launcher
