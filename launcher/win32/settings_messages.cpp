#include "launcher/win32/settings_messages.h"

#include <windows.h>

#include "platform/win32/message.h"
#include "platform/win32/text.h"

namespace quorvel::launcher {
namespace {

std::wstring PathAndReason(const std::string& path, settings::ErrorCode error) {
  return win::Widen(path).value_or(L"?") + L"\n" + win::SystemErrorText(error);
}

// What the user can do about an error, where there is something.
std::wstring Advice(settings::ErrorCode error) {
  switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return L"\n\nAnother program is using the file. Try again when it has let go of it.";
    case settings::kErrorUndecodable:
      return L"\n\nQuorvel reads settings files saved as UTF-8 or as Unicode (UTF-16).";
  }
  return {};
}

}  // namespace

std::wstring CannotReadText(std::wstring_view first_line, const settings::ReadResult& read) {
  return std::wstring(first_line) + L"\n\n" + PathAndReason(read.path, read.error) +
         Advice(read.error);
}

std::wstring CannotSaveText(const settings::WriteResult& write, const settings::Places& places) {
  std::wstring text = L"Your settings cannot be saved.\n\n";
  if (write.program_error != 0 && write.path != places.program)
    text += PathAndReason(places.program, write.program_error) + L"\n\n";
  // Windows replaces no file that another program has open: access denied.
  return text + PathAndReason(write.path, write.error) +
         Advice(write.held ? ERROR_SHARING_VIOLATION : write.error);
}

std::wstring MovedText(const settings::WriteResult& write, const settings::Places& places) {
  return L"Quorvel cannot write its settings beside the program:\n\n" +
         PathAndReason(places.program, write.program_error) +
         L"\n\nFrom now on your settings are kept in\n" + win::Widen(write.path).value_or(L"?") +
         L"\n\nDelete that file to go back to the one beside the program.";
}

std::wstring NoOwnFolderText(const settings::Places& places) {
  const std::wstring text =
      places.user.empty() ? L"Quorvel cannot find its own folder: your settings cannot be kept."
                          : L"Quorvel cannot find its own folder: your settings are kept in\n" +
                                win::Widen(places.user).value_or(L"?");
  return text + L"\n\n" + win::SystemErrorText(places.program_unknown);
}

}  // namespace quorvel::launcher
