// The image files of the current folder. A folder that one batch of entries
// does not hold is read on to its end on a thread of its own, while the
// window is being made; a small one is read at once, which costs less than
// starting a thread.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "launcher/image_files.h"
#include "platform/win32/handles.h"

namespace quorvel::launcher {

class ImageListing {
 public:
  ImageListing();   // starts listing the current folder
  ~ImageListing();  // waits for a listing that is still going
  ImageListing(const ImageListing&) = delete;
  ImageListing& operator=(const ImageListing&) = delete;

  // The names to list, in order, once they are known.
  std::vector<std::u16string> Take();

 private:
  static DWORD WINAPI Run(void* listing);
  bool ReadBatch();  // false at the folder's end or on an error
  void Wait();

  win::UniqueFile folder_;
  std::unique_ptr<std::byte[]> batch_;   // one batch of entries as read
  std::vector<DirectoryEntry> entries_;  // read so far
  std::vector<std::u16string> files_;    // when all are read
  win::UniqueHandle thread_;             // while the rest of a big folder is read
};

}  // namespace quorvel::launcher
