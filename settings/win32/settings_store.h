// ReadIniValue and WriteIniValue: the program's operations on quorvel.ini,
// kept beside its executable or, when that folder refuses writes, per user.
// They show nothing and end nothing: each returns what happened, and the
// window that asked tells the user. A file that another program holds open
// is waited for a few seconds, in waits of the caller's.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "settings/settings_file.h"

namespace quorvel::settings {

// How the caller waits for its turn among this machine's writers (for the
// handle, up to the time, with WaitForSingleObject's answers) and between
// tries at a file that another program holds (no handle: a pause). A window
// passes a wait that keeps its windows painted and answering.
using Wait = unsigned long (*)(void* handle, int milliseconds);

// The stored value (at most 79 characters), or "" when the file, the section
// or the key is absent; not ok when the file exists but cannot be read.
ReadResult ReadIniValue(std::string_view section, std::string_view key, Wait wait);

// The settings' whole text, read once, for several values taken with ValueIn
// (in settings_file.h).
ReadResult ReadIniText(Wait wait);

// Stores the settings, in order, in one replacement of the file: all or none.
// The file's text is what single writes in that order would leave.
WriteResult WriteIniValues(std::span<const Setting> settings, Wait wait);
WriteResult WriteIniValue(std::string_view section, std::string_view key, std::string_view value,
                          Wait wait);

// The places of the settings file, worked out once: quorvel.ini in the
// directory of the running executable, and that directory's per-user file in
// the user's local application data (UTF-8). A place that cannot be had is
// empty: the program then never falls back on a path that is not its own.
const Places& SettingsPlaces();

// The per-user file of a program folder: named after the folder's final path
// (in the file system's letter case), or the file that earlier versions named
// after the path as given, while only that one exists.
std::string UserSettingsPathOf(std::string_view local_app_data, std::u16string_view program_folder);

}  // namespace quorvel::settings
