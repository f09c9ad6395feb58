#include "launcher/win32/launch.h"

#include "launcher/win32/process_start.h"
#include "platform/message.h"
#include "settings/win32/settings_store.h"

namespace quorvel::launcher {

void Launch(const MainOptions& options, std::u16string_view file_name) {
  std::optional<std::string> text;  // read once, when a value is first needed
  const std::optional<LaunchPlan> plan =
      PlanLaunch(options, file_name, [&](std::string_view section, std::string_view key) {
        if (!text) text = settings::ReadIniText();
        return settings::ValueIn(*text, section, key);
      });
  if (!plan) {
    win::ShowMessage(L"Please Select One File to Load!");
    return;
  }
  // The emulator first: the user waits for it, not for the settings file.
  const DWORD error = StartProcess(plan->command_line);
  settings::WriteIniValues(plan->writes);
  if (error) {
    win::ShowMessage(L"Korvax could not be started (\"kx\" was not found or would not run).\n\n" +
                     win::SystemErrorText(error));
  }
}

}  // namespace quorvel::launcher
