// "Load and Run" against the real settings file and the real emulator.
#pragma once

#include <string_view>

#include "launcher/launch_command.h"

namespace quorvel::launcher {

// With no file selected, only tells the user so. Otherwise starts the
// emulator, then stores every option, and tells the user when the emulator
// could not be started.
void Launch(const MainOptions& options, std::u16string_view file_name);

}  // namespace quorvel::launcher
