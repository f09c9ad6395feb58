// "Load and Run" against the real settings file and the real emulator.
#pragma once

#include <windows.h>

#include <string_view>

#include "launcher/launch_command.h"
#include "settings/win32/settings_store.h"

namespace quorvel::launcher {

// How far a launch came, for the window to tell.
struct LaunchOutcome {
  enum class Stage {
    kNoFileSelected,      // nothing read, started or stored
    kSettingsUnreadable,  // `read` says which file and why; nothing started or stored
    kValueNotText,        // a stored value in `read.path` is not UTF-8; nothing started or stored
    kStarted,             // the emulator was started (or `start_error` says why not) and the
                          // options stored (or `write` says why not)
  };
  Stage stage = Stage::kNoFileSelected;
  settings::ReadResult read;
  DWORD start_error = 0;
  settings::WriteResult write;
};

// With a file of the current directory selected: reads the joystick type and
// resolution, starts the emulator, then stores every option and which image
// was launched, waiting for a held settings file with `wait`. Shows nothing.
LaunchOutcome Launch(const MainOptions& options, std::u16string_view file_name,
                     settings::Wait wait);

// The process's current directory.
std::u16string CurrentDirectory();

}  // namespace quorvel::launcher
