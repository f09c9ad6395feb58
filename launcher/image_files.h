// The file list's content: the image files of a folder, as the list shows them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvel::launcher {

struct DirectoryEntry {
  // As the system gives it, no directory: UTF-16 that need not be well-formed.
  std::u16string name;
  bool directory = false;
  bool hidden = false;
  bool system = false;
};

// Whether a name matches "*.SMS;*.GG", in any letter case.
bool IsImageFileName(std::u16string_view name);

// The names to list: matching files that are neither hidden nor system
// files, in alphabetical order regardless of letter case.
std::vector<std::u16string> ImageFiles(std::vector<DirectoryEntry> entries);

}  // namespace quorvel::launcher
