// UTF-8 and UTF-16 conversions and character counts, portable and exact: a
// conversion that would change the text fails rather than guess.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::utf {

// UTF-16 to UTF-8; nullopt when the text holds an unpaired surrogate.
std::optional<std::string> ToUtf8(std::u16string_view utf16);

// UTF-8 to UTF-16; nullopt when the text is not well-formed UTF-8.
std::optional<std::u16string> ToUtf16(std::string_view utf8);

// Whether the text is well-formed UTF-8 throughout.
bool IsUtf8(std::string_view text);

// The length in bytes of the longest prefix of `text` that holds at most
// `characters` characters, where a character is one well-formed UTF-8
// sequence or else a single byte; a sequence is never cut.
std::size_t PrefixOfCharacters(std::string_view text, std::size_t characters);

}  // namespace quorvel::utf
