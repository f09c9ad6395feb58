// Profile (INI) text: finding and replacing one value in the text of a
// settings file. Pure functions over strings; the file I/O lives in
// settings_file.h and the Win32 shell.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::ini {

// The value stored under `key` in `section`, or nullopt when the section or
// the key is absent. Section and key names match without regard to ASCII
// letter case; the first matching section and, inside it, the first matching
// key win. One pair of enclosing double quotes is removed; otherwise the text
// after "=" is returned exactly as it stands (blanks and NUL bytes included).
// Accepts LF, CRLF and CR line ends, a leading UTF-8 byte-order mark, blank
// lines, ";" comment lines and lines before the first section.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// The value as it is written after "=": enclosed in double quotes when it
// begins or ends with a blank (or tab), or when it already begins and ends with
// the same quote character, so that both our reader and GetPrivateProfileStringA
// read the value back exactly.
std::string EncodeValue(std::string_view value);

// Whether the section, key and value can be stored at all: no line breaks or
// NUL bytes anywhere; a non-empty section without "]" and without blanks or
// tabs at its ends; a non-empty key without "=", without blanks or tabs at its
// ends, and not beginning with "[" or ";" (it would read as a section or a
// comment).
bool CanStore(std::string_view section, std::string_view key, std::string_view value);

// The text with `key` in `section` set to `value`, or nullopt when !CanStore.
// An existing key keeps its place, its spelling and its line end; a missing key
// is added after the last key line of the (first) matching section; a missing
// section is appended at the end. New lines end in CRLF. A leading byte-order
// mark is dropped; every other byte of the text is kept as it was.
std::optional<std::string> WithValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value);

}  // namespace quorvel::ini
