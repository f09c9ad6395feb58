// The image files of the current folder, read on a thread of its own from
// the start, while the window is made. A folder that the first batches of
// entries hold is read by the time the window shows; a bigger or slower one
// is read on while the window is up, and the window is told when it is done.
// The window waits for no more than the first batches, and for those only
// briefly.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace quorvel::launcher {

class ImageListing {
 public:
  ImageListing();   // starts reading the current folder
  ~ImageListing();  // a read still going is abandoned (cancelled where it can be)
  ImageListing(const ImageListing&) = delete;
  ImageListing& operator=(const ImageListing&) = delete;

  // Whether the folder has been read to its end, or to an error, once its
  // first batches are (or a short while has passed).
  bool DoneSoon() const;
  // Until Done: posts `message` to `window` when the folder is read. False
  // when it is read already.
  bool PostWhenDone(HWND window, UINT message);

  struct Result {
    std::vector<std::u16string> files;  // the names to list, in order
    DWORD error = 0;                    // what ended the read before the folder's end
  };
  // Once done: what was read.
  Result Take();

  // Test builds: the event that holds the listing thread (see the seam).
  static constexpr wchar_t kTestGate[] = L"Quorvel.TestListingGate";

 private:
  struct Read;
  static DWORD WINAPI Run(void* read);

  Read* read_;  // shared with the thread while it runs
};

}  // namespace quorvel::launcher
