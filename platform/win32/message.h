// The program's only way of telling the user something: a modal message box
// with one OK button and the application's title as caption.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvel::win {

inline constexpr wchar_t kApplicationTitle[] = L"Quorvel";

// The system's text for an error code, without its trailing line break.
std::wstring SystemErrorText(DWORD error);

// Shows the box, owned by the thread's active window (if any), and returns
// when the user has closed it.
void ShowMessage(std::wstring_view text);

// Where messages go instead of boxes, for tests that run the program's code in
// their own process, where nobody would answer a box; nullptr: boxes again.
using MessageSink = void (*)(std::wstring_view text);
void SetMessageSink(MessageSink sink);

}  // namespace quorvel::win
