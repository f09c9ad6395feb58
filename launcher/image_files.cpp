#include "launcher/image_files.h"

#include <algorithm>

#include "platform/ascii.h"

namespace quorvel::launcher {

bool IsImageFileName(std::string_view name) {
  return ascii::EndsWithIgnoringCase(name, ".sms") || ascii::EndsWithIgnoringCase(name, ".gg");
}

std::vector<std::string> ImageFiles(std::vector<DirectoryEntry> entries) {
  std::vector<std::string> names;
  for (DirectoryEntry& entry : entries)
    if (!entry.directory && !entry.hidden && !entry.system && IsImageFileName(entry.name))
      names.push_back(std::move(entry.name));
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int order = ascii::CompareIgnoringCase(a, b);
    return order != 0 ? order < 0 : a < b;  // names equal but for case: a steady order
  });
  return names;
}

}  // namespace quorvel::launcher
