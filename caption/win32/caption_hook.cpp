#include "caption/win32/caption_hook.h"

namespace quorvel::caption {

// The gradient caption is not painted yet: until it is, hooked windows keep
// the system's caption and these calls leave the window as it is.
void HookCaption(HWND) {}
void UnhookCaption(HWND) {}

}  // namespace quorvel::caption
