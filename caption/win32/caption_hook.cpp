// The system pointers' numbers (OCR_*), which IDC_* give only as pointers.
#define OEMRESOURCE
#include "caption/win32/caption_hook.h"

#include <list>
#include <utility>

#include "caption/caption_geometry.h"
#include "caption/caption_rules.h"
#include "caption/win32/caption_paint.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/library.h"

namespace quorvel::caption {

// The portable rules and geometry write Windows' numbers themselves: here they
// meet their names in windows.h.
static_assert(kWmSize == WM_SIZE && kWmKillFocus == WM_KILLFOCUS && kWmSetText == WM_SETTEXT);
static_assert(kWmSetCursor == WM_SETCURSOR && kWmMouseActivate == WM_MOUSEACTIVATE);
static_assert(kWmNcPaint == WM_NCPAINT && kWmNcActivate == WM_NCACTIVATE);
static_assert(kWmNcLButtonDown == WM_NCLBUTTONDOWN && kWmNcRButtonDown == WM_NCRBUTTONDOWN);
static_assert(kWmSysCommand == WM_SYSCOMMAND && kWmInitMenuPopup == WM_INITMENUPOPUP);
static_assert(kWmMdiActivate == WM_MDIACTIVATE && kScMouseMenu == SC_MOUSEMENU);
static_assert(kHtCaption == HTCAPTION && kHtSysMenu == HTSYSMENU && kHtLeft == HTLEFT);
static_assert(kHtRight == HTRIGHT && kHtTop == HTTOP && kHtTopLeft == HTTOPLEFT);
static_assert(kHtTopRight == HTTOPRIGHT && kHtBottom == HTBOTTOM);
static_assert(kHtBottomLeft == HTBOTTOMLEFT && kHtBottomRight == HTBOTTOMRIGHT);
static_assert(kIdcSizeNwse == OCR_SIZENWSE && kIdcSizeNesw == OCR_SIZENESW);
static_assert(kIdcSizeWe == OCR_SIZEWE && kIdcSizeNs == OCR_SIZENS);
static_assert(kDsModalFrame == DS_MODALFRAME && kWsSysMenu == WS_SYSMENU);
static_assert(kWsMaximizeBox == WS_MAXIMIZEBOX && kWsMinimizeBox == WS_MINIMIZEBOX);
static_assert(kButtonClose == DFCS_CAPTIONCLOSE && kButtonMin == DFCS_CAPTIONMIN);
static_assert(kButtonMax == DFCS_CAPTIONMAX && kButtonRestore == DFCS_CAPTIONRESTORE);
static_assert(kButtonInactive == DFCS_INACTIVE);
namespace {

constexpr wchar_t kOldProcProperty[] = L"OldMeProc";

// The icon of the message being handled, asked for at every message (all on
// the one UI thread). A painting pass keeps its own handles, so a pass entered
// from within another cannot replace the outer one's.
HICON CaptionIcon = nullptr;
bool IconQueryBusy = false;
HookObserver Observer = nullptr;

// What the hook keeps of each hooked window: its previous procedure, which its
// OldMeProc property holds too (a property is read through the window system,
// a costly call for every message), and its caption font at its DPI, read
// again when the DPI or the system's metrics change; and whether its frame
// has been painted since it was hooked (or by the system before).
struct HookedWindow {
  HWND hwnd;
  WNDPROC previous;
  int dpi;
  LOGFONTW font;
  bool frame_painted;
};
// A list: a record stays where it is while windows come and go inside the
// handling of its window's message.
std::list<HookedWindow> Hooked;

HookedWindow* RecordOf(HWND hwnd) {
  for (HookedWindow& window : Hooked)
    if (window.hwnd == hwnd) return &window;
  return nullptr;
}

// The OldMeProc property marks a hooked window.
bool IsHooked(HWND hwnd) { return ::GetPropW(hwnd, kOldProcProperty) != nullptr; }

LRESULT PassOn(WNDPROC previous, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return previous ? ::CallWindowProcW(previous, hwnd, message, wparam, lparam) : 0;
}

// The caption font of the system's non-client metrics at the DPI.
void ReadCaptionFont(HookedWindow& window, int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  window.dpi = dpi;
  window.font = win::NonClientMetrics(metrics, dpi) ? metrics.lfCaptionFont : LOGFONTW{};
}

// With desktop composition the system draws a window's frame itself unless
// the window asks otherwise; without it there is nobody to ask (a hooked
// window asks again when composition comes on).
bool CompositionActive() {
  using EnabledFn = HRESULT(WINAPI*)(BOOL*);
  static const auto enabled =
      win::SystemFunction<EnabledFn>(L"dwmapi.dll", "DwmIsCompositionEnabled");
  BOOL on = FALSE;
  return enabled && SUCCEEDED(enabled(&on)) && on;
}

void PaintFrameOurselves(HWND hwnd, bool ourselves) {
  if (!CompositionActive()) return;
  using SetAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static const auto set_attribute =
      win::SystemFunction<SetAttributeFn>(L"dwmapi.dll", "DwmSetWindowAttribute");
  if (!set_attribute) return;
  constexpr DWORD kNcRenderingPolicy = 2;  // DWMWA_NCRENDERING_POLICY
  const int policy = ourselves ? 1 /* DWMNCRP_DISABLED */ : 0 /* DWMNCRP_USEWINDOWSTYLE */;
  set_attribute(hwnd, kNcRenderingPolicy, &policy, sizeof policy);
}

WindowFacts FactsOf(HWND hwnd, WPARAM wparam) {
  WindowFacts facts;
  HWND parent = ::GetParent(hwnd);
  facts.has_parent = parent != nullptr;
  facts.wparam_is_window = reinterpret_cast<HWND>(wparam) == hwnd;
  facts.active_mdi_child =
      parent && reinterpret_cast<HWND>(::SendMessageW(parent, WM_MDIGETACTIVE, 0, 0)) == hwnd;
  facts.active_window = ::GetActiveWindow() == hwnd;
  return facts;
}

// A painting pass: the caption composed off-screen and copied onto the
// window; for a frame pass the previous procedure then paints the rest of
// the frame through the window's area less the caption.
LRESULT PaintingPass(const HookedWindow& hooked, UINT message, WPARAM wparam, LPARAM lparam,
                     bool activation) {
  const HWND hwnd = hooked.hwnd;
  RECT window;
  ::GetWindowRect(hwnd, &window);
  const HICON icon = CaptionIcon;
  const win::UniqueRegion region(
      ::CreateRectRgn(window.left, window.top, window.right, window.bottom));
  {
    // The window's DC goes back before the previous procedure paints: held
    // on, it would make the system set up a second one for that painting,
    // which under Wine costs more than painting the caption.
    const win::WindowDc window_dc(hwnd, ::GetWindowDC(hwnd));
    ::SelectClipRgn(window_dc.get(), region.get());
    ::OffsetClipRgn(window_dc.get(), -window.left, -window.top);
    {
      const CaptionInput input = CaptionInputOf(hwnd, icon != nullptr, hooked.dpi);
      const win::UniqueMemoryDc memory(::CreateCompatibleDC(window_dc.get()));
      const win::UniqueBitmap bitmap(
          ::CreateCompatibleBitmap(window_dc.get(), input.window_width, BitmapHeight(input)));
      const win::ScopedSelect selected(memory.get(), bitmap.get());
      const WindowFacts facts = FactsOf(hwnd, wparam);
      const bool active =
          activation ? ActiveForActivationPass(message, wparam, facts) : ActiveForFramePass(facts);
      if (memory && bitmap)
        PaintCaption(hwnd, memory.get(), window_dc.get(), icon, hooked.font, input,
                     CaptionColours(active));
    }
    ::OffsetClipRgn(window_dc.get(), window.left, window.top);
    ::GetClipRgn(window_dc.get(), region.get());
  }
  if (activation) return 1;
  return PassOn(hooked.previous, hwnd, WM_NCPAINT, reinterpret_cast<WPARAM>(region.get()), lparam);
}

LRESULT AfterFramePass(HWND hwnd, WNDPROC previous, UINT message, WPARAM wparam, LPARAM lparam,
                       LRESULT result) {
  switch (FollowUpOf(message, wparam, ::IsZoomed(hwnd) != FALSE)) {
    case FollowUp::kPassOn:
      return PassOn(previous, hwnd, message, wparam, lparam);
    case FollowUp::kStartMove:
      return ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_MOVE, 0);
    case FollowUp::kKeepResult:
      break;
  }
  return result;
}

}  // namespace

void HookCaption(HWND hwnd) {
  if (IsHooked(hwnd)) return;
  // A window that went before under the same handle, unseen at its end.
  std::erase_if(Hooked, [&](const HookedWindow& window) { return window.hwnd == hwnd; });
  const LONG_PTR previous = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  ::SetPropW(hwnd, kOldProcProperty, reinterpret_cast<HANDLE>(previous));
  Hooked.push_back(
      {hwnd, reinterpret_cast<WNDPROC>(previous), 0, {}, ::IsWindowVisible(hwnd) != FALSE});
  ReadCaptionFont(Hooked.back(), win::WindowDpi(hwnd));
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CaptionWndProc));
  PaintFrameOurselves(hwnd, true);
  if (Observer) Observer(hwnd, true);
}

void UnhookCaption(HWND hwnd) {
  if (!IsHooked(hwnd)) return;
  const HookedWindow* hooked = RecordOf(hwnd);
  const WNDPROC previous = hooked ? hooked->previous : nullptr;
  ::RemovePropW(hwnd, kOldProcProperty);
  std::erase_if(Hooked, [&](const HookedWindow& window) { return window.hwnd == hwnd; });
  if (!previous) return;
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  PaintFrameOurselves(hwnd, false);
  if (Observer) Observer(hwnd, false);
}

void ObserveHooks(HookObserver observer) { Observer = observer; }

LRESULT CALLBACK CaptionWndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  HookedWindow* hooked = RecordOf(hwnd);
  if (!hooked) return ::DefWindowProcW(hwnd, message, wparam, lparam);
  const WNDPROC previous = hooked->previous;
  if (!IconQueryBusy) {
    // The query comes back here as WM_GETICON, which then goes straight on.
    IconQueryBusy = true;
    CaptionIcon = reinterpret_cast<HICON>(::SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0));
    IconQueryBusy = false;
  }
  if (message == WM_NCDESTROY) {
    // Destroyed while hooked: the window goes with its own procedure back.
    UnhookCaption(hwnd);
    return PassOn(previous, hwnd, message, wparam, lparam);
  }
  // A monitor of another DPI, or new system metrics: the caption font again.
  if (message == WM_DPICHANGED) ReadCaptionFont(*hooked, LOWORD(wparam));
  if (message == WM_SETTINGCHANGE && wparam == SPI_SETNONCLIENTMETRICS)
    ReadCaptionFont(*hooked, hooked->dpi);
  if (message == WM_DWMCOMPOSITIONCHANGED) PaintFrameOurselves(hwnd, true);

  switch (HandlingOf(message)) {
    case Handling::kPassOn:
      return PassOn(previous, hwnd, message, wparam, lparam);
    case Handling::kRepaintThenPassOn:
      ::SendMessageW(hwnd, WM_NCPAINT, 0, 0);
      return PassOn(previous, hwnd, message, wparam, lparam);
    case Handling::kActivationPass:
      // A window being shown is activated before its frame is first painted:
      // nothing of it is on the screen yet, and that frame pass paints the
      // caption anyway.
      if (!hooked->frame_painted && ::IsWindowVisible(hwnd)) return 1;
      return PaintingPass(*hooked, message, wparam, lparam, true);
    case Handling::kSizingCursor:
      if (const std::optional<int> cursor = SizingCursor(lparam)) {
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(*cursor)));
        return 1;
      }
      return PassOn(previous, hwnd, message, wparam, lparam);
    case Handling::kFramePass:
      break;
  }
  hooked->frame_painted = true;
  if (message == WM_SETTEXT) {
    // The title is stored first, then the caption painted again with it.
    const LRESULT stored = PassOn(previous, hwnd, message, wparam, lparam);
    PaintingPass(*hooked, WM_NCPAINT, 1, 0, false);
    return stored;
  }
  const LRESULT painted = PaintingPass(*hooked, message, wparam, lparam, false);
  return AfterFramePass(hwnd, previous, message, wparam, lparam, painted);
}

}  // namespace quorvel::caption
