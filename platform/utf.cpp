#include "platform/utf.h"

namespace quorvel::utf {
namespace {

// The length of the well-formed UTF-8 sequence at the start of `text` and its
// code point, or a length of 0 when there is none.
struct Sequence {
  std::size_t length = 0;
  char32_t code_point = 0;
};

Sequence SequenceAt(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return {1, lead};
  std::size_t length = 0;
  char32_t code_point = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code_point = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code_point = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code_point = lead & 0x07, minimum = 0x10000;
  } else {
    return {};
  }
  if (text.size() < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {};
    code_point = (code_point << 6) | (byte(i) & 0x3F);
  }
  if (code_point < minimum || code_point > 0x10FFFF ||
      (code_point >= 0xD800 && code_point <= 0xDFFF))
    return {};
  return {length, code_point};
}

void Append(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::optional<std::string> ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t unit = utf16[i];
    if (IsHigh(unit) && i + 1 < utf16.size() && IsLow(utf16[i + 1])) {
      Append(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{utf16[++i]} - 0xDC00));
    } else if (IsHigh(unit) || IsLow(unit)) {
      return std::nullopt;
    } else {
      Append(out, unit);
    }
  }
  return out;
}

std::optional<std::u16string> ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    const Sequence sequence = SequenceAt(utf8);
    if (sequence.length == 0) return std::nullopt;
    const char32_t c = sequence.code_point;
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
    utf8.remove_prefix(sequence.length);
  }
  return out;
}

bool IsUtf8(std::string_view text) {
  for (std::size_t length = 0; !text.empty(); text.remove_prefix(length))
    if ((length = SequenceAt(text).length) == 0) return false;
  return true;
}

std::size_t PrefixOfCharacters(std::string_view text, std::size_t characters) {
  std::size_t bytes = 0;
  for (; characters > 0 && bytes < text.size(); --characters) {
    const std::size_t length = SequenceAt(text.substr(bytes)).length;
    bytes += length == 0 ? 1 : length;
  }
  return bytes;
}

}  // namespace quorvel::utf
