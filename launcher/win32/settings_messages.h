// What the main window tells the user about the settings file: always which
// file, with a sentence of ours and the system's reason.
#pragma once

#include <string>
#include <string_view>

#include "settings/settings_file.h"

namespace quorvel::launcher {

// `first_line`, then the file that could not be read and why.
std::wstring CannotReadText(std::wstring_view first_line, const settings::ReadResult& read);

// Neither the program's folder nor the per-user place took the settings.
std::wstring CannotSaveText(const settings::WriteResult& write, const settings::Places& places);

// The settings have just moved to the per-user file: both files, and why.
std::wstring MovedText(const settings::WriteResult& write, const settings::Places& places);

// The program's own folder is unknown: where the settings are kept instead.
std::wstring NoOwnFolderText(const settings::Places& places);

}  // namespace quorvel::launcher
