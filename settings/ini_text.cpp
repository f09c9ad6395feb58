#include "settings/ini_text.h"

#include <cstddef>

#include "platform/ascii.h"

namespace quorvel::ini {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kNewLine = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool HasEdgeBlank(std::string_view s) {
  return !s.empty() && (IsBlank(s.front()) || IsBlank(s.back()));
}

bool HasUnstorableByte(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  return text;
}

// Offsets into the text: the line's bytes are [begin, end); its line end, if
// any, is [end, next).
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
};

Line LineAt(std::string_view text, std::size_t begin) {
  Line line{begin, begin, begin};
  while (line.end < text.size() && !IsLineBreak(text[line.end])) ++line.end;
  line.next = line.end;
  if (line.next < text.size() && text[line.next] == '\r') ++line.next;
  if (line.next < text.size() && text[line.next] == '\n') ++line.next;
  return line;
}

struct Location {
  bool section_found = false;
  bool key_found = false;
  // The value's bytes on the matching key line.
  std::size_t value_begin = 0;
  std::size_t value_end = 0;
  // The line a missing key goes after: the section's last key line, or its
  // header.
  Line anchor;
};

Location Locate(std::string_view text, std::string_view section, std::string_view key) {
  Location location;
  for (std::size_t pos = 0; pos < text.size();) {
    const Line line = LineAt(text, pos);
    pos = line.next;
    const std::string_view content = text.substr(line.begin, line.end - line.begin);
    const std::size_t first = content.find_first_not_of(" \t");
    if (first == std::string_view::npos || content[first] == ';') continue;

    if (content[first] == '[') {
      if (location.section_found) break;
      std::string_view name = content.substr(first + 1);
      name = name.substr(0, name.find(']'));
      if (ascii::EqualIgnoringCase(Trim(name), section)) {
        location.section_found = true;
        location.anchor = line;
      }
      continue;
    }

    if (!location.section_found) continue;
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) continue;
    location.anchor = line;
    if (ascii::EqualIgnoringCase(Trim(content.substr(0, equals)), key)) {
      location.key_found = true;
      location.value_begin = line.begin + equals + 1;
      location.value_end = line.end;
      break;
    }
  }
  return location;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key) {
  text = WithoutByteOrderMark(text);
  const Location location = Locate(text, section, key);
  if (!location.key_found) return std::nullopt;
  std::string_view value =
      text.substr(location.value_begin, location.value_end - location.value_begin);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

std::string EncodeValue(std::string_view value) {
  // Windows' reader takes off a pair of enclosing double or single quotes.
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  if (!HasEdgeBlank(value) && !quoted) return std::string(value);
  std::string encoded;
  encoded.reserve(value.size() + 2);
  encoded += '"';
  encoded += value;
  encoded += '"';
  return encoded;
}

bool CanStore(std::string_view section, std::string_view key, std::string_view value) {
  if (HasUnstorableByte(section) || HasUnstorableByte(key) || HasUnstorableByte(value)) {
    return false;
  }
  // The reader trims names, so names with edge blanks would never match again.
  if (section.empty() || section.find(']') != std::string_view::npos || HasEdgeBlank(section)) {
    return false;
  }
  if (key.empty() || key.find('=') != std::string_view::npos || HasEdgeBlank(key)) return false;
  // Such a line would read back as a section header or a comment.
  return key.front() != '[' && key.front() != ';';
}

std::optional<std::string> WithValue(std::string_view text, std::string_view section,
                                     std::string_view key, std::string_view value) {
  if (!CanStore(section, key, value)) return std::nullopt;
  text = WithoutByteOrderMark(text);
  const Location location = Locate(text, section, key);
  const std::string encoded = EncodeValue(value);

  std::string result;
  result.reserve(text.size() + section.size() + key.size() + encoded.size() + 16);
  if (location.key_found) {
    result += text.substr(0, location.value_begin);
    result += encoded;
    result += text.substr(location.value_end);
    return result;
  }

  if (location.section_found) {
    const Line& anchor = location.anchor;
    result += text.substr(0, anchor.next);
    if (anchor.next == anchor.end) result += kNewLine;
    result += key;
    result += '=';
    result += encoded;
    result += kNewLine;
    result += text.substr(anchor.next);
    return result;
  }

  result += text;
  if (!text.empty()) {
    if (!IsLineBreak(text.back())) result += kNewLine;
    result += kNewLine;
  }
  result += '[';
  result += section;
  result += ']';
  result += kNewLine;
  result += key;
  result += '=';
  result += encoded;
  result += kNewLine;
  return result;
}

}  // namespace quorvel::ini
