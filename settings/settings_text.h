// The bytes of a settings file as text: UTF-8 with or without a byte-order
// mark, or UTF-16 LE with its mark (Notepad's "Unicode", which Windows' own
// profile functions read and keep). A file is written back in its own
// encoding; text that cannot be decoded is refused, never rewritten.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvel::settings {

enum class Encoding { kUtf8, kUtf8WithMark, kUtf16Le };

struct SettingsText {
  Encoding encoding = Encoding::kUtf8;
  std::string text;  // without the byte-order mark; UTF-8 or single-byte text
};

// nullopt for text this program cannot read and so must not rewrite: a NUL
// anywhere (a UTF-16 file without its mark reads so), UTF-16 with an odd
// number of bytes or an unpaired surrogate, UTF-16 BE or UTF-32.
std::optional<SettingsText> DecodeSettings(std::string_view bytes);

// The bytes to store, mark included; nullopt when the text cannot be held in
// the file's encoding (bytes that are not UTF-8, in a UTF-16 file).
std::optional<std::string> EncodeSettings(const SettingsText& text);

}  // namespace quorvel::settings
