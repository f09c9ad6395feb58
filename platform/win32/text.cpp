#include "platform/win32/text.h"

#include "platform/utf.h"

namespace quorvel::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 on Windows");

std::optional<std::wstring> Widen(std::string_view utf8) {
  const std::optional<std::u16string> wide = utf::ToUtf16(utf8);
  if (!wide) return std::nullopt;
  return std::wstring(wide->begin(), wide->end());
}

std::optional<std::string> Narrow(std::wstring_view utf16) {
  return utf::ToUtf8({reinterpret_cast<const char16_t*>(utf16.data()), utf16.size()});
}

std::wstring OwnText(std::string_view utf8) { return Widen(utf8).value_or(std::wstring()); }

}  // namespace quorvel::win
