#include "launcher/opening.h"

#include "launcher/image_files.h"
#include "platform/ascii.h"
#include "platform/utf.h"

namespace quorvel::launcher {
namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsDriveLetter(std::u16string_view path) {
  return path.size() >= 2 && path[1] == u':' &&
         ((path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z'));
}

// The drive ("C:") or share ("\\server\share") that a path lies on.
std::u16string_view RootOf(std::u16string_view path) {
  if (IsDriveLetter(path)) return path.substr(0, 2);
  std::size_t end = 2;
  for (int part = 0; part < 2 && end < path.size(); ++part, ++end)
    while (end < path.size() && !IsSeparator(path[end])) ++end;
  return path.substr(0, std::min(end - 1, path.size()));
}

// The argument as a whole path: Windows' rules for the current directory.
std::u16string WholePath(std::u16string_view argument, std::u16string_view current) {
  const bool unc = argument.size() >= 2 && IsSeparator(argument[0]) && IsSeparator(argument[1]);
  const bool drive = IsDriveLetter(argument);
  if (unc || (drive && argument.size() >= 3 && IsSeparator(argument[2])))
    return std::u16string(argument);
  if (!argument.empty() && IsSeparator(argument[0]))  // the current drive's root
    return std::u16string(RootOf(current)).append(argument);
  if (drive) {  // "D:name": on the current drive, from the current directory; else from D:'s root
    if (!ascii::EqualIgnoringCase<char16_t>(RootOf(current), argument.substr(0, 2)))
      return std::u16string(argument.substr(0, 2)) + u"\\" + std::u16string(argument.substr(2));
    argument.remove_prefix(2);
  }
  return PathIn(current, argument);
}

bool IsHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

}  // namespace

std::u16string PathIn(std::u16string_view folder, std::u16string_view name) {
  std::u16string path(folder);
  if (!path.empty() && !IsSeparator(path.back())) path += u'\\';
  return path.append(name);
}

Opening OpeningOf(std::u16string_view argument, std::u16string_view current_directory,
                  const std::function<PathKind(std::u16string_view path)>& kind_of) {
  // `"C:\Games\"` reaches a program as `C:\Games"`: no name holds a quote.
  if (argument.ends_with(u'"')) argument.remove_suffix(1);
  if (argument.empty()) return {};
  Opening opening;
  opening.path = WholePath(argument, current_directory);
  switch (kind_of(opening.path)) {
    case PathKind::kMissing:
      opening.kind = Opening::Kind::kMissing;
      break;
    case PathKind::kFolder:
      opening.kind = Opening::Kind::kFolder;
      opening.folder = opening.path;
      break;
    case PathKind::kFile: {
      std::u16string_view folder = opening.path;
      while (!folder.empty() && !IsSeparator(folder.back())) folder.remove_suffix(1);
      const std::u16string_view name = std::u16string_view(opening.path).substr(folder.size());
      if (!IsImageFileName(name)) {
        opening.kind = Opening::Kind::kNotAnImage;
        break;
      }
      // The folder without its last separator, but for a drive's root ("C:\").
      if (folder.size() > 1 && !(folder.size() == 3 && IsDriveLetter(folder)))
        folder.remove_suffix(1);
      opening.kind = Opening::Kind::kImage;
      opening.folder = folder;
      opening.image = name;
      break;
    }
  }
  return opening;
}

std::string StoredImagePath(std::u16string_view path) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string escaped;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char16_t unit = path[i];
    const bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < path.size() && path[i + 1] >= 0xDC00 && path[i + 1] <= 0xDFFF) {
      escaped += {unit, path[++i]};
    } else if (unit == u'%' || (unit >= 0xD800 && unit <= 0xDFFF)) {
      escaped += u'%';
      for (int shift = 12; shift >= 0; shift -= 4) escaped += kDigits[(unit >> shift) & 0xF];
    } else {
      escaped += unit;
    }
  }
  return utf::ToUtf8(escaped).value_or(std::string());  // every surrogate left is paired
}

std::optional<std::u16string> ImagePathOfStored(std::string_view stored) {
  const std::optional<std::u16string> text = utf::ToUtf16(stored);
  if (!text) return std::nullopt;
  std::u16string path;
  for (std::size_t i = 0; i < text->size(); ++i) {
    if ((*text)[i] != u'%') {
      path += (*text)[i];
      continue;
    }
    if (i + 4 >= text->size()) return std::nullopt;
    char16_t unit = 0;
    for (std::size_t k = i + 1; k <= i + 4; ++k) {
      const char16_t c = (*text)[k];
      if (!IsHexDigit(c)) return std::nullopt;
      unit = static_cast<char16_t>(unit * 16 + (c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10));
    }
    path += unit;
    i += 4;
  }
  return path;
}

std::optional<std::size_t> IndexOfImage(std::span<const std::u16string> listed,
                                        std::u16string_view folder, std::u16string_view path) {
  const std::size_t separator = path.find_last_of(u"\\/");
  if (separator == std::u16string_view::npos) return std::nullopt;
  std::u16string_view in = path.substr(0, separator), own = folder;
  while (!own.empty() && IsSeparator(own.back())) own.remove_suffix(1);
  if (!ascii::EqualIgnoringCase<char16_t>(in, own)) return std::nullopt;
  for (std::size_t i = 0; i < listed.size(); ++i)
    if (ascii::EqualIgnoringCase<char16_t>(listed[i], path.substr(separator + 1))) return i;
  return std::nullopt;
}

}  // namespace quorvel::launcher
