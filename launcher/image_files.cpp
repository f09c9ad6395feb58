#include "launcher/image_files.h"

#include <algorithm>

#include "platform/ascii.h"

namespace quorvel::launcher {

bool IsImageFileName(std::u16string_view name) {
  return std::ranges::any_of(kImageExtensions, [&](std::u16string_view extension) {
    return ascii::EndsWithIgnoringCase(name, extension);
  });
}

std::vector<std::u16string> ImageFiles(std::vector<DirectoryEntry> entries) {
  std::vector<std::u16string> names;
  for (DirectoryEntry& entry : entries)
    if (!entry.directory && !entry.hidden && !entry.system && IsImageFileName(entry.name))
      names.push_back(std::move(entry.name));
  std::sort(names.begin(), names.end(), [](const std::u16string& a, const std::u16string& b) {
    const int order = ascii::CompareIgnoringCase(std::u16string_view(a), b);
    return order != 0 ? order < 0 : a < b;  // names equal but for case: a steady order
  });
  return names;
}

}  // namespace quorvel::launcher
