// The caption painter: a window procedure put in front of a window's own,
// which paints the window's caption bar as a gradient with its small icon,
// title and caption buttons, and hands the rest of the frame to the window.
#pragma once

#include <windows.h>

namespace quorvel::caption {

// Called first thing while a window loads, before it is first shown. A
// window already hooked stays as it is.
void HookCaption(HWND hwnd);
// Gives the window back the procedure it had before HookCaption; a window
// that is not hooked stays as it is.
void UnhookCaption(HWND hwnd);

// Told of every hook and unhook that changes a window, right after it; for
// tests that follow a window's lifecycle. nullptr: nobody is told.
using HookObserver = void (*)(HWND hwnd, bool hooked);
void ObserveHooks(HookObserver observer);

LRESULT CALLBACK CaptionWndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace quorvel::caption
