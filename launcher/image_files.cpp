#include "launcher/image_files.h"

#include <algorithm>

namespace quorvel::launcher {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EndsWithIgnoringCase(std::string_view name, std::string_view suffix) {
  if (name.size() < suffix.size()) return false;
  const std::string_view tail = name.substr(name.size() - suffix.size());
  return std::equal(tail.begin(), tail.end(), suffix.begin(),
                    [](char a, char b) { return Lower(a) == Lower(b); });
}

}  // namespace

bool IsImageFileName(std::string_view name) {
  return EndsWithIgnoringCase(name, ".sms") || EndsWithIgnoringCase(name, ".gg");
}

std::vector<std::string> ImageFiles(std::vector<DirectoryEntry> entries) {
  std::vector<std::string> names;
  for (DirectoryEntry& entry : entries)
    if (!entry.directory && !entry.hidden && !entry.system && IsImageFileName(entry.name))
      names.push_back(std::move(entry.name));
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const bool less = std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
          return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
        });
    const bool greater = std::lexicographical_compare(
        b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
          return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
        });
    return less || (!greater && a < b);  // names equal but for case: a steady order
  });
  return names;
}

}  // namespace quorvel::launcher
