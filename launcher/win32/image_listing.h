// The image files of the current folder. The first batches of entries are
// read at once: a folder that they hold is listed before the window shows,
// which costs less than starting a thread. A bigger or slower folder is read
// on to its end on a thread of its own, which tells the window when it is
// done; the window never waits for it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel::launcher {

class ImageListing {
 public:
  ImageListing();   // reads the current folder's first batches
  ~ImageListing();  // a read still going is abandoned (cancelled where it can be)
  ImageListing(const ImageListing&) = delete;
  ImageListing& operator=(const ImageListing&) = delete;

  // Whether the folder has been read to its end, or to an error.
  bool Done() const;
  // Reads the rest on a thread, which posts `message` to `window` once Done().
  // Without a thread to be had, reads it here.
  void ReadOn(HWND window, UINT message);

  struct Result {
    std::vector<std::u16string> files;  // the names to list, in order
    DWORD error = 0;                    // what ended the read before the folder's end
  };
  // Once Done(): what was read.
  Result Take();

  // Test builds: the event that holds the listing thread (see the seam).
  static constexpr wchar_t kTestGate[] = L"Quorvel.TestListingGate";

 private:
  struct Read;
  static DWORD WINAPI Run(void* read);

  Read* read_;  // shared with the thread while it runs
};

}  // namespace quorvel::launcher
