#include "launcher/win32/process_start.h"

#include "platform/handles.h"
#include "platform/message.h"
#include "platform/text.h"
#include "settings/win32/settings_store.h"

namespace quorvel::launcher {

DWORD StartProcess(std::string_view command_line) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring writable = win::Widen(command_line);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
    return ::GetLastError();
  win::UniqueHandle owned_process(process.hProcess);
  win::UniqueHandle owned_thread(process.hThread);
  return 0;
}

void Launch(const MainOptions& options, std::string_view file_name) {
  if (RomArgument(file_name).empty()) {
    win::ShowMessage(L"Please Select One File to Load!");
    return;
  }
  for (const SettingWrite& write : LaunchWrites(options))
    settings::WriteIniValue(write.section, write.key, write.value);
  const std::string joystick_type = options[Flag::kJoystick]
                                        ? settings::ReadIniValue(kJoystickSection, kJoystickTypeKey)
                                        : std::string();
  const std::string resolution = settings::ReadIniValue(kResolutionSection, kResolutionKey);
  const std::string command_line =
      LaunchCommandLine(options, file_name, joystick_type, resolution);
  if (const DWORD error = StartProcess(command_line)) {
    win::ShowMessage(L"Korvax could not be started (\"kx\" was not found or would not run).\n\n" +
                     win::SystemErrorText(error));
  }
}

}  // namespace quorvel::launcher
