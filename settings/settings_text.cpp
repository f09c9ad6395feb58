#include "settings/settings_text.h"

#include "platform/utf.h"

namespace quorvel::settings {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

}  // namespace

std::optional<SettingsText> DecodeSettings(std::string_view bytes) {
  SettingsText decoded;
  if (bytes.starts_with(kUtf16LeMark)) {
    bytes.remove_prefix(kUtf16LeMark.size());
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
      units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    std::optional<std::string> text = utf::ToUtf8(units);
    if (!text) return std::nullopt;
    decoded = {Encoding::kUtf16Le, std::move(*text)};
  } else if (bytes.starts_with(kUtf16BeMark)) {
    return std::nullopt;
  } else if (bytes.starts_with(kUtf8Mark)) {
    decoded = {Encoding::kUtf8WithMark, std::string(bytes.substr(kUtf8Mark.size()))};
  } else {
    decoded = {Encoding::kUtf8, std::string(bytes)};
  }
  if (decoded.text.find('\0') != std::string::npos) return std::nullopt;
  return decoded;
}

std::optional<std::string> EncodeSettings(const SettingsText& text) {
  switch (text.encoding) {
    case Encoding::kUtf8:
      return text.text;
    case Encoding::kUtf8WithMark:
      return std::string(kUtf8Mark) + text.text;
    case Encoding::kUtf16Le:
      break;
  }
  const std::optional<std::u16string> units = utf::ToUtf16(text.text);
  if (!units) return std::nullopt;
  std::string bytes(kUtf16LeMark);
  for (const char16_t unit : *units) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace quorvel::settings
