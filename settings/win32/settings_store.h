// ReadIniValue and WriteIniValue: the program's two operations on quorvel.ini,
// kept beside its executable or, when that folder refuses writes, per user.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "settings/settings_file.h"

namespace quorvel::settings {

// The stored value (at most 79 characters), or "" when the file, the section
// or the key is absent. When the file exists but cannot be read or decoded,
// shows "Errr in INI File" and ends the program.
std::string ReadIniValue(std::string_view section, std::string_view key);

// Stores the value at once. A failure is told to the user once per run, and
// the caller goes on as if the value had been stored.
void WriteIniValue(std::string_view section, std::string_view key, std::string_view value);

// Stores the settings, in order, in one replacement of the file: all or none.
// The file's text is what the single writes in that order would leave.
void WriteIniValues(std::span<const Setting> settings);

// The settings' text, read once, for several values taken with ValueIn (in
// settings_file.h). Fails as ReadIniValue does.
std::string ReadIniText();

// The places of the settings file: quorvel.ini in the directory of the
// running executable, and in the user's local application data, in Quorvel
// (UTF-8). A place that cannot be had is empty: the program then never falls
// back on a path that is not its own.
const Places& SettingsPlaces();

}  // namespace quorvel::settings
