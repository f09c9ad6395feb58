// Letter case the way file systems and profile files compare names: ASCII
// letters only, the same in every locale.
#pragma once

#include <algorithm>
#include <string_view>

namespace quorvel::ascii {

constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return Lower(x) == Lower(y); });
}

constexpr bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

// Byte order after folding the case; 0 when the two are equal but for case.
constexpr int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                           [](char x, char y) { return Lower(x) == Lower(y); });
  if (left == a.end()) return right == b.end() ? 0 : -1;
  if (right == b.end()) return 1;
  return static_cast<unsigned char>(Lower(*left)) < static_cast<unsigned char>(Lower(*right)) ? -1
                                                                                              : 1;
}

}  // namespace quorvel::ascii
