// Starting the emulator: the one place the launcher creates a process.
#pragma once

#include <windows.h>

#include <string_view>

namespace quorvel::launcher {

// Runs the command line (UTF-16, passed on unchecked) as a new, independent
// process in the current directory, its window shown normally. Returns 0 or
// the system's error code; never waits for the process.
DWORD StartProcess(std::u16string_view command_line);

}  // namespace quorvel::launcher
