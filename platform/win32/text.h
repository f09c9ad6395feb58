// UTF-8 inside the program, UTF-16 at the Win32 boundary: the exact
// conversions of platform/utf.h for wchar_t, which is UTF-16 on Windows.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::win {

// nullopt when the text cannot be converted unchanged (ill-formed UTF-8, or an
// unpaired surrogate, which a file name may hold).
std::optional<std::wstring> Widen(std::string_view utf8);
std::optional<std::string> Narrow(std::wstring_view utf16);

// The program's own texts (captions, face names, messages), which its tables
// hold as well-formed UTF-8.
std::wstring OwnText(std::string_view utf8);

}  // namespace quorvel::win
