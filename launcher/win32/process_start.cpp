#include "launcher/win32/process_start.h"

#include <string>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace quorvel::launcher {

DWORD StartProcess(std::u16string_view command_line) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::wstring writable(win::AsWide(command_line));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  // Wine answers "internal error" when the new process dies while it starts,
  // before any of its own code runs (about once in a thousand starts here);
  // the start at once after it succeeds.
  for (int attempt = 0; !::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0,
                                          nullptr, nullptr, &startup, &process);
       ++attempt) {
    const DWORD error = ::GetLastError();
    if (error != ERROR_INTERNAL_ERROR || attempt == 1) return error;
    writable.assign(win::AsWide(command_line));
  }
  win::UniqueHandle owned_process(process.hProcess);
  win::UniqueHandle owned_thread(process.hThread);
  return 0;
}

}  // namespace quorvel::launcher
