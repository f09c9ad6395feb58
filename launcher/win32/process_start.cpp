#include "launcher/win32/process_start.h"

#include "platform/handles.h"
#include "platform/text.h"

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

}  // namespace quorvel::launcher
