// The settings store under libFuzzer, as two harnesses: "reader" takes its input
// as a settings file; "write_read" splits it into section \1 key \1 value \1 file
// and writes the value. No file part means no file. A failed check traps.
#include <map>

#include "platform/ascii.h"
#include "platform/utf.h"
#include "settings/ini_text.h"
#include "settings/settings_file.h"
#include "settings/settings_text.h"

namespace quorvel::settings {

const Places kPlaces{"C:\\Quorvel\\quorvel.ini", ""};

void Check(bool holds) { holds ? void() : __builtin_trap(); }

// Files in memory, where every step succeeds at once.
struct MemoryFiles : FileOps {
  std::map<std::string, std::string> files;
  FileRead Read(const std::string& path) override {
    if (!files.count(path)) return {FileRead::Status::kAbsent, {}, 2};
    return {FileRead::Status::kOk, files[path], 0};
  }
  ErrorCode WriteAndFlush(const std::string& path, std::string_view bytes) override {
    files[path] = bytes;
    return 0;
  }
  ErrorCode Replace(const std::string& from, const std::string& to) override {
    files[to] = files.at(from);  // throws, and so fails the run, for a file never written
    files.erase(from);
    return 0;
  }
  bool IsReadOnly(const std::string&) override { return false; }
  void Remove(const std::string& path) override { files.erase(path); }
  LockAttempt TryLock(const std::string&, int) override {
    return {std::make_unique<FileLock>(), 0};
  }
  ErrorCode CreateFolder(const std::string&) override { return 0; }
  void Pause(int) override {}
};

// A file decodes to text that encodes back to its bytes. A write fails only
// when it must, and then leaves the files as they were; else the value is
// stored, the encoding kept and no other value changed. A value read is the
// stored one cut to 79 characters, never inside one.
void Fuzz(std::string_view section, std::string_view key, std::string_view value,
          std::string_view file) {
  MemoryFiles files;
  if (!file.empty()) files.files[kPlaces.program] = file;
  const auto before = files.files;
  const auto text = file.empty() ? SettingsText{} : DecodeSettings(file);
  Check(!text || EncodeSettings(*text) == file);
  const bool utf8 = utf::IsUtf8(section) && utf::IsUtf8(key) && utf::IsUtf8(value);
  const bool must_fail = !text || !ini::CanStore(section, key, value) ||
                         (text->encoding == Encoding::kUtf16Le && !utf8);
  const Setting setting{section, key, value};
  Check((WriteValues(files, kPlaces, {&setting, 1}).error != 0) == must_fail);
  Check(must_fail ? files.files == before : files.files.size() == 1);
  const auto now = must_fail ? text : DecodeSettings(files.files[kPlaces.program]);
  Check(must_fail || (now && now->encoding == text->encoding &&
                      ini::FindValue(now->text, section, key) == value));
  const auto check = [&](std::string_view s, std::string_view k) {
    const ReadResult read = ReadValue(files, kPlaces, s, k);
    const std::string stored = now ? ini::FindValue(now->text, s, k).value_or("") : "";
    const bool written = ascii::EqualIgnoringCase(s, section) && ascii::EqualIgnoringCase(k, key);
    Check(read.ok == now.has_value() && stored.find_first_of("\r\n") == std::string::npos &&
          read.value == stored.substr(0, utf::PrefixOfCharacters(stored, kMaxValueLength)) &&
          read.value.size() <= 4 * kMaxValueLength &&
          (!utf::IsUtf8(stored) || utf::IsUtf8(read.value)) &&
          (must_fail || written ||
           ini::FindValue(text->text, s, k) == ini::FindValue(now->text, s, k)));
  };
  // The written value, its neighbours and the program's own.
  const std::string_view sections[] = {section, "Video", "Joystick", "Sound", "Controls"};
  const std::string_view keys[] = {key, "scanlines", "res", "type", "rate", "keyboard"};
  for (const auto s : sections)
    for (const auto k : keys) check(s, k);
}

}  // namespace quorvel::settings

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size), parts[3];
  for (auto& part : parts) {
    if (QUORVEL_FUZZ_READER) break;  // all of the reader's input is the file
    part = input.substr(0, input.find('\1'));
    input.remove_prefix(std::min(part.size() + 1, input.size()));
  }
  quorvel::settings::Fuzz(parts[0], parts[1], parts[2], input);
  return 0;
}
