#include "platform/win32/dpi.h"

#include "platform/win32/handles.h"

namespace quorvel::win {
namespace {

// Looked up at run time: these came with Windows 10, and the program also
// runs where they are missing.
template <typename Function>
Function UserFunction(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), name)));
}

int ScreenDpi() {
  const WindowDc screen(nullptr, ::GetDC(nullptr));
  return ::GetDeviceCaps(screen.get(), LOGPIXELSY);
}

}  // namespace

int WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi_for_window = UserFunction<GetDpiForWindowFn>("GetDpiForWindow");
  const int dpi =
      get_dpi_for_window && hwnd ? static_cast<int>(get_dpi_for_window(hwnd)) : ScreenDpi();
  return dpi >= 96 ? dpi : 96;
}

RECT WindowRectForClient(int client_width, int client_height, DWORD style, DWORD ex_style,
                         int dpi) {
  using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust_for_dpi = UserFunction<AdjustForDpiFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client_width, client_height};
  if (adjust_for_dpi)
    adjust_for_dpi(&rect, style, FALSE, ex_style, static_cast<UINT>(dpi));
  else
    ::AdjustWindowRectEx(&rect, style, FALSE, ex_style);
  return rect;
}

int SystemMetric(int index, int dpi) {
  using MetricForDpiFn = int(WINAPI*)(int, UINT);
  static const auto metric_for_dpi = UserFunction<MetricForDpiFn>("GetSystemMetricsForDpi");
  return metric_for_dpi ? metric_for_dpi(index, static_cast<UINT>(dpi)) : ::GetSystemMetrics(index);
}

bool NonClientMetrics(NONCLIENTMETRICSW& metrics, int dpi) {
  using InfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  static const auto info_for_dpi = UserFunction<InfoForDpiFn>("SystemParametersInfoForDpi");
  if (info_for_dpi)
    return info_for_dpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0,
                        static_cast<UINT>(dpi)) != FALSE;
  return ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) != FALSE;
}

}  // namespace quorvel::win
