#include "platform/win32/message.h"

#include <iterator>

namespace quorvel::win {

std::wstring SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = ::FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text;
  if (length != 0 && buffer != nullptr) text.assign(buffer, length);
  ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
    text.pop_back();
  if (text.empty()) {
    // Not std::to_wstring, which formats through swprintf: that would bring
    // the C library's whole printf family into the program.
    wchar_t digits[10];
    wchar_t* first = std::end(digits);
    do *--first = static_cast<wchar_t>(L'0' + error % 10);
    while (error /= 10);
    text = L"Error " + std::wstring(first, std::end(digits)) + L".";
  }
  return text;
}

namespace {
MessageSink g_sink = nullptr;
}  // namespace

void SetMessageSink(MessageSink sink) { g_sink = sink; }

void ShowMessage(std::wstring_view text) {
  if (g_sink) return g_sink(text);
  const std::wstring copy(text);
  ::MessageBoxW(::GetActiveWindow(), copy.c_str(), kApplicationTitle, MB_OK);
}

}  // namespace quorvel::win
