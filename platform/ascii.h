// Letter case the way file systems and profile files compare names: ASCII
// letters only, the same in every locale. For UTF-8 (std::string_view) and the
// system's UTF-16 (std::u16string_view) alike: the first argument is a view,
// and the second converts to its type.
#pragma once

#include <algorithm>
#include <string_view>
#include <type_traits>

namespace quorvel::ascii {

template <class Char>
using View = std::basic_string_view<Char>;
template <class Char>
using SameView = std::type_identity_t<View<Char>>;

template <class Char>
constexpr Char Lower(Char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<Char>(c - 'A' + 'a') : c;
}

template <class Char>
constexpr bool EqualIgnoringCase(View<Char> a, SameView<Char> b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](Char x, Char y) { return Lower(x) == Lower(y); });
}

template <class Char>
constexpr bool EndsWithIgnoringCase(View<Char> text, SameView<Char> suffix) {
  return text.size() >= suffix.size() &&
         EqualIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

// Code-unit order after folding the case; 0 when the two are equal but for case.
template <class Char>
constexpr int CompareIgnoringCase(View<Char> a, SameView<Char> b) {
  const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                           [](Char x, Char y) { return Lower(x) == Lower(y); });
  if (left == a.end()) return right == b.end() ? 0 : -1;
  if (right == b.end()) return 1;
  using Unit = std::make_unsigned_t<Char>;
  return static_cast<Unit>(Lower(*left)) < static_cast<Unit>(Lower(*right)) ? -1 : 1;
}

}  // namespace quorvel::ascii
