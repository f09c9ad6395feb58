// The file list's content: the image files of a folder, as the list shows them.
#pragma once

#include <array>
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

// The image files' extensions: File1 lists "*.SMS;*.GG".
inline constexpr std::array<std::u16string_view, 2> kImageExtensions = {u".SMS", u".GG"};

// Whether a name ends in one of them, in any letter case.
bool IsImageFileName(std::u16string_view name);

// The names to list: matching files that are neither hidden nor system
// files, in alphabetical order regardless of letter case.
std::vector<std::u16string> ImageFiles(std::vector<DirectoryEntry> entries);

}  // namespace quorvel::launcher
