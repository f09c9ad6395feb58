#include "launcher/win32/launch.h"

#include "launcher/opening.h"
#include "launcher/win32/process_start.h"
#include "platform/win32/text.h"
#include "settings/win32/settings_store.h"

namespace quorvel::launcher {

LaunchOutcome Launch(const MainOptions& options, std::u16string_view file_name,
                     settings::Wait wait) {
  using Stage = LaunchOutcome::Stage;
  LaunchOutcome outcome;
  std::optional<settings::ReadResult> text;  // read once, when a value is first needed
  const std::optional<LaunchPlan> plan = PlanLaunch(
      options, CurrentDirectory(), file_name, [&](std::string_view section, std::string_view key) {
        if (!text) text = settings::ReadIniText(wait);
        return text->ok ? settings::ValueIn(text->value, section, key) : std::string();
      });
  if (!plan) return outcome;
  outcome.read = std::move(*text);
  outcome.read.value.clear();
  if (!outcome.read.ok) {
    outcome.stage = Stage::kSettingsUnreadable;
  } else if (!plan->command_line) {
    outcome.stage = Stage::kValueNotText;
  } else {
    // The emulator first: the user waits for it, not for the settings file.
    outcome.stage = Stage::kStarted;
    outcome.start_error = StartProcess(*plan->command_line);
    std::vector<settings::Setting> writes = plan->writes;
    writes.push_back({kRememberedSection, kRememberedKey, plan->remembered});
    outcome.write = settings::WriteIniValues(writes, wait);
  }
  return outcome;
}

std::u16string CurrentDirectory() {
  std::wstring path(::GetCurrentDirectoryW(0, nullptr), L'\0');
  path.resize(::GetCurrentDirectoryW(static_cast<DWORD>(path.size()), path.data()));
  return std::u16string(win::AsUtf16(path));
}

}  // namespace quorvel::launcher
