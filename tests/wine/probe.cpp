// A console program that runs the settings store and the launch in a process
// of its own, so that tests can place it beside a settings file of their own
// and watch the message boxes and the exit it may end in.
//
//   probe path                       prints the settings file's path
//   probe read SECTION KEY           prints [value]
//   probe write SECTION KEY VALUE... writes each triple in turn, then prints "done"
//   probe launch FILE FLAGS RATE     "Load and Run" with the flags as ten 0/1
//                                    characters in launch order and RATE "-" or
//                                    the index of the rate button
#include <windows.h>

#include <string>

#include "launcher/win32/launch.h"
#include "platform/text.h"
#include "settings/win32/settings_store.h"

namespace {

void Print(const std::string& text) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using quorvel::win::Narrow;
  namespace settings = quorvel::settings;
  namespace launcher = quorvel::launcher;
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"path" && argc == 2) {
    Print(settings::SettingsPath() + "\n");
  } else if (command == L"read" && argc == 4) {
    Print("[" + settings::ReadIniValue(Narrow(argv[2]), Narrow(argv[3])) + "]\n");
  } else if (command == L"write" && argc >= 5 && (argc - 2) % 3 == 0) {
    for (int i = 2; i + 2 < argc; i += 3)
      settings::WriteIniValue(Narrow(argv[i]), Narrow(argv[i + 1]), Narrow(argv[i + 2]));
    Print("done\n");
  } else if (command == L"launch" && argc == 5) {
    launcher::MainOptions options;
    const std::wstring flags = argv[3];
    for (size_t i = 0; i < flags.size() && i < launcher::kFlagCount; ++i) options.flags[i] = flags[i] == L'1';
    const std::wstring rate = argv[4];
    if (rate != L"-") options.rate = static_cast<size_t>(std::stoi(rate));
    launcher::Launch(options, Narrow(argv[2]));
    Print("done\n");
  } else {
    Print("usage: probe path | read S K | write S K V... | launch FILE FLAGS RATE\n");
    return 2;
  }
  return 0;
}
