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

}  // namespace quorvel::win
