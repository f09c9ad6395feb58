// Attaching the caption painter to a window and detaching it again.
#pragma once

#include <windows.h>

namespace quorvel::caption {

// Called first thing while a window loads, before it is first shown.
void HookCaption(HWND hwnd);
// Called from the window's unload handling.
void UnhookCaption(HWND hwnd);

}  // namespace quorvel::caption
