// Paths as the system gives them, taken apart and put together: the one place
// that knows the separators. Resolving a path (relative, drive-relative, short
// names, letter case) is the system's business; these only split and join
// what it gave. For UTF-8 (std::string_view) and the system's UTF-16
// (std::u16string_view) alike.
#pragma once

#include <string>
#include <string_view>

#include "platform/ascii.h"

namespace quorvel::paths {

using ascii::SameView;
using ascii::View;

template <class Char>
constexpr bool IsSeparator(Char c) {
  return c == Char('\\') || c == Char('/');
}

// "C:\": the one folder whose name ends in its separator.
template <class Char>
constexpr bool IsDriveRoot(View<Char> path) {
  return path.size() == 3 && path[1] == Char(':') && IsSeparator(path[2]);
}

// Without trailing separators, but for a drive root's own.
template <class Char>
constexpr View<Char> Trimmed(View<Char> path) {
  while (!path.empty() && IsSeparator(path.back()) && !IsDriveRoot(path)) path.remove_suffix(1);
  return path;
}

template <class Char>
constexpr std::size_t LastSeparator(View<Char> path) {
  for (std::size_t i = path.size(); i-- > 0;)
    if (IsSeparator(path[i])) return i;
  return View<Char>::npos;
}

// The folder that holds `path`'s last part, in the form Trimmed gives; empty
// when the path has no folder.
template <class Char>
constexpr View<Char> FolderOf(View<Char> path) {
  const std::size_t separator = LastSeparator(path);
  if (separator == View<Char>::npos) return {};
  return Trimmed(path.substr(0, separator + 1));
}

// The last part of `path`, after its last separator.
template <class Char>
constexpr View<Char> NameOf(View<Char> path) {
  const std::size_t separator = LastSeparator(path);
  return separator == View<Char>::npos ? path : path.substr(separator + 1);
}

// `name` in `folder`, with one separator between them.
template <class Char>
std::basic_string<Char> Join(View<Char> folder, SameView<Char> name) {
  std::basic_string<Char> path(folder);
  if (!path.empty() && !IsSeparator(path.back())) path += Char('\\');
  return path.append(name);
}

}  // namespace quorvel::paths
