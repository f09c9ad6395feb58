// The image files of the current folder, listed on a thread of their own so
// that a big folder is read while the window is being made.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

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
  static std::vector<std::u16string> ListNow();  // on the calling thread
  static DWORD WINAPI Run(void* listing);
  void Wait();

  std::vector<std::u16string> files_;
  win::UniqueHandle thread_;  // none when no thread could be started
};

}  // namespace quorvel::launcher
