#include "launcher/opening.h"

#include "launcher/image_files.h"
#include "platform/paths.h"
#include "platform/utf.h"

namespace quorvel::launcher {
namespace {

bool IsHexDigit(char16_t c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

}  // namespace

Opening OpeningOf(std::u16string_view argument, const PathSystem& system) {
  if (argument.empty() || argument == u"\"") return {};
  Opening opening;
  // `"E:\"` reaches a program as `E:"`: the backslash before the closing
  // quote escaped it. No name holds a quote, so it stands for that backslash.
  std::u16string given(argument);
  if (given.ends_with(u'"')) given.back() = u'\\';
  opening.path = system.full_path(given);
  if (opening.path.empty()) opening.path = given;
  switch (system.kind_of(opening.path)) {
    case PathKind::kMissing:
      opening.kind = Opening::Kind::kMissing;
      break;
    case PathKind::kFolder:
      opening.kind = Opening::Kind::kFolder;
      opening.folder = paths::Trimmed<char16_t>(opening.path);
      break;
    case PathKind::kFile: {
      const std::u16string_view name = paths::NameOf<char16_t>(opening.path);
      if (!IsImageFileName(name)) {
        opening.kind = Opening::Kind::kNotAnImage;
        break;
      }
      opening.kind = Opening::Kind::kImage;
      opening.folder = paths::FolderOf<char16_t>(opening.path);
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
                                        std::u16string_view folder, std::u16string_view path,
                                        SameName same) {
  const std::u16string_view in = paths::FolderOf(path);
  if (in.empty() || !same(in, paths::Trimmed(folder))) return std::nullopt;
  for (std::size_t i = 0; i < listed.size(); ++i)
    if (same(listed[i], paths::NameOf(path))) return i;
  return std::nullopt;
}

}  // namespace quorvel::launcher
