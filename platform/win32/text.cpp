#include "platform/win32/text.h"

#include "platform/utf.h"

namespace quorvel::win {

std::optional<std::wstring> Widen(std::string_view utf8) {
  const std::optional<std::u16string> wide = utf::ToUtf16(utf8);
  if (!wide) return std::nullopt;
  return std::wstring(AsWide(*wide));
}

std::optional<std::string> Narrow(std::wstring_view utf16) { return utf::ToUtf8(AsUtf16(utf16)); }

std::wstring OwnText(std::string_view utf8) { return Widen(utf8).value_or(std::wstring()); }

}  // namespace quorvel::win
