// Starting the emulator: the one place the launcher creates a process.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "launcher/launch_command.h"

namespace quorvel::launcher {

// Runs the command line as a new, independent process in the current
// directory, its window shown normally. Returns 0 or the system's error code;
// never waits for the process.
DWORD StartProcess(std::string_view command_line);

// "Load and Run": with no file selected, only tells the user so. Otherwise
// writes every option, reads the stored joystick type and resolution, and
// starts the emulator, telling the user when it cannot be started.
void Launch(const MainOptions& options, std::string_view file_name);

}  // namespace quorvel::launcher
