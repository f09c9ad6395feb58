// The DPI a window is shown at, on every Windows version the program runs on.
#pragma once

#include <windows.h>

namespace quorvel::win {

// The window's DPI (per monitor where the system knows it), 96 at least.
int WindowDpi(HWND hwnd);

// The outer window rectangle for a client area of the given size at a DPI.
RECT WindowRectForClient(int client_width, int client_height, DWORD style, DWORD ex_style, int dpi);

// A system metric at a DPI.
int SystemMetric(int index, int dpi);

// The system's non-client metrics (caption font and others) at a DPI; false
// when the system gives none. `metrics.cbSize` must be set.
bool NonClientMetrics(NONCLIENTMETRICSW& metrics, int dpi);

}  // namespace quorvel::win
