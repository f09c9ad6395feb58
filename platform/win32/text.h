// UTF-8 inside the program, UTF-16 at the Win32 boundary: the exact
// conversions of platform/utf.h for wchar_t, which is UTF-16 on Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::win {

// The system's UTF-16 names pass between char16_t and wchar_t (UTF-16 on
// Windows) unit for unit, well-formed or not.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 on Windows");
inline std::wstring_view AsWide(std::u16string_view text) {
  return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}
// For a call that takes a string ending in a null character.
inline const wchar_t* WideZ(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string_view AsUtf16(std::wstring_view text) {
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}

// nullopt when the text cannot be converted unchanged (ill-formed UTF-8, or an
// unpaired surrogate, which a file name may hold).
std::optional<std::wstring> Widen(std::string_view utf8);
std::optional<std::string> Narrow(std::wstring_view utf16);

// The program's own texts (captions, face names, messages), which its tables
// hold as well-formed UTF-8.
std::wstring OwnText(std::string_view utf8);

}  // namespace quorvel::win
