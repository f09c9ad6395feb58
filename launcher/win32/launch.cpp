#include "launcher/win32/launch.h"

#include "launcher/win32/process_start.h"
#include "platform/message.h"
#include "settings/win32/settings_store.h"

namespace quorvel::launcher {

void Launch(const MainOptions& options, std::u16string_view file_name) {
  const std::optional<std::u16string> command_line =
      LoadAndRun(options, file_name, settings::ReadIniValue, settings::WriteIniValues);
  if (!command_line) {
    win::ShowMessage(L"Please Select One File to Load!");
    return;
  }
  if (const DWORD error = StartProcess(*command_line)) {
    win::ShowMessage(L"Korvax could not be started (\"kx\" was not found or would not run).\n\n" +
                     win::SystemErrorText(error));
  }
}

}  // namespace quorvel::launcher
