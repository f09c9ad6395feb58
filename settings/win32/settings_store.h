// ReadIniValue and WriteIniValue: the program's two operations on quorvel.ini
// beside its executable.
#pragma once

#include <string>
#include <string_view>

namespace quorvel::settings {

// The stored value (at most 79 characters), or "" when the file, the section
// or the key is absent. When the file exists but cannot be read, shows
// "Errr in INI File" and ends the program.
std::string ReadIniValue(std::string_view section, std::string_view key);

// Stores the value at once. A failure is told to the user once per run, and
// the caller goes on as if the value had been stored.
void WriteIniValue(std::string_view section, std::string_view key, std::string_view value);

// The settings file's path: the directory of the running executable followed
// by quorvel.ini (UTF-8).
std::string SettingsPath();

}  // namespace quorvel::settings
