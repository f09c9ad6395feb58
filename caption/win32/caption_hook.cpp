#include "caption/win32/caption_hook.h"

#include <utility>
#include <vector>

#include "caption/caption_rules.h"
#include "caption/win32/caption_paint.h"
#include "platform/dpi.h"
#include "platform/handles.h"
#include "platform/library.h"

namespace quorvel::caption {
namespace {

constexpr wchar_t kOldProcProperty[] = L"OldMeProc";

// One set for every hooked window, all on the one UI thread. A painting pass
// keeps its own handles, so a pass entered from within another cannot
// replace the outer one's.
HWND CurrentWindow = nullptr;
HICON CaptionIcon = nullptr;
bool IconQueryBusy = false;
LOGFONTW CaptionFont{};
HookObserver Observer = nullptr;

// The hooked windows' previous procedures, as their OldMeProc properties hold
// them: a property is read through the window system, a costly call for every
// message, so the hook reads its own copy.
std::vector<std::pair<HWND, WNDPROC>> Hooked;

WNDPROC PreviousProcedure(HWND hwnd) {
  for (const auto& [window, previous] : Hooked)
    if (window == hwnd) return previous;
  return nullptr;
}

LRESULT PassOn(WNDPROC previous, HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  return previous ? ::CallWindowProcW(previous, hwnd, message, wparam, lparam) : 0;
}

// The caption font of the system's non-client metrics at the window's DPI.
void ReadCaptionFont(HWND hwnd) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  CaptionFont =
      win::NonClientMetrics(metrics, win::WindowDpi(hwnd)) ? metrics.lfCaptionFont : LOGFONTW{};
}

// With desktop composition the system draws a window's frame itself unless
// the window asks otherwise; the function is missing on older systems.
void PaintFrameOurselves(HWND hwnd, bool ourselves) {
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
LRESULT PaintingPass(HWND hwnd, WNDPROC previous, UINT message, WPARAM wparam, LPARAM lparam,
                     bool activation) {
  RECT window;
  ::GetWindowRect(hwnd, &window);
  const HICON icon = CaptionIcon;
  const win::WindowDc window_dc(hwnd, ::GetWindowDC(hwnd));
  const win::UniqueRegion region(
      ::CreateRectRgn(window.left, window.top, window.right, window.bottom));
  ::SelectClipRgn(window_dc.get(), region.get());
  ::OffsetClipRgn(window_dc.get(), -window.left, -window.top);
  {
    const CaptionInput input = CaptionInputOf(hwnd, icon != nullptr);
    const win::UniqueMemoryDc memory(::CreateCompatibleDC(window_dc.get()));
    const win::UniqueBitmap bitmap(
        ::CreateCompatibleBitmap(window_dc.get(), input.window_width, BitmapHeight(input)));
    const win::ScopedSelect selected(memory.get(), bitmap.get());
    const WindowFacts facts = FactsOf(hwnd, wparam);
    const bool active =
        activation ? ActiveForActivationPass(message, wparam, facts) : ActiveForFramePass(facts);
    if (memory && bitmap)
      PaintCaption(hwnd, memory.get(), window_dc.get(), icon, CaptionFont, input,
                   CaptionColours(active));
  }
  ::OffsetClipRgn(window_dc.get(), window.left, window.top);
  ::GetClipRgn(window_dc.get(), region.get());
  if (activation) return 1;
  return PassOn(previous, hwnd, WM_NCPAINT, reinterpret_cast<WPARAM>(region.get()), lparam);
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
  if (::GetPropW(hwnd, kOldProcProperty)) return;  // hooked already
  // A window that went before under the same handle, unseen at its end.
  std::erase_if(Hooked, [&](const auto& entry) { return entry.first == hwnd; });
  ReadCaptionFont(hwnd);
  const LONG_PTR previous = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
  ::SetPropW(hwnd, kOldProcProperty, reinterpret_cast<HANDLE>(previous));
  Hooked.emplace_back(hwnd, reinterpret_cast<WNDPROC>(previous));
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CaptionWndProc));
  PaintFrameOurselves(hwnd, true);
  if (Observer) Observer(hwnd, true);
}

void UnhookCaption(HWND hwnd) {
  const WNDPROC previous = PreviousProcedure(hwnd);
  ::RemovePropW(hwnd, kOldProcProperty);
  std::erase_if(Hooked, [&](const auto& entry) { return entry.first == hwnd; });
  if (!previous) return;
  ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  PaintFrameOurselves(hwnd, false);
  if (Observer) Observer(hwnd, false);
}

void ObserveHooks(HookObserver observer) { Observer = observer; }

LRESULT CALLBACK CaptionWndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  CurrentWindow = hwnd;
  const WNDPROC previous = PreviousProcedure(hwnd);
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

  switch (HandlingOf(message)) {
    case Handling::kPassOn:
      return PassOn(previous, hwnd, message, wparam, lparam);
    case Handling::kRepaintThenPassOn:
      ::SendMessageW(hwnd, WM_NCPAINT, 0, 0);
      return PassOn(previous, hwnd, message, wparam, lparam);
    case Handling::kActivationPass:
      return PaintingPass(hwnd, previous, message, wparam, lparam, true);
    case Handling::kSizingCursor:
      if (const std::optional<int> cursor = SizingCursor(lparam)) {
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(*cursor)));
        return 1;
      }
      return PassOn(previous, hwnd, message, wparam, lparam);
    case Handling::kFramePass:
      break;
  }
  if (message == WM_SETTEXT) {
    // The title is stored first, then the caption painted again with it.
    const LRESULT stored = PassOn(previous, hwnd, message, wparam, lparam);
    PaintingPass(hwnd, previous, WM_NCPAINT, 1, 0, false);
    return stored;
  }
  const LRESULT painted = PaintingPass(hwnd, previous, message, wparam, lparam, false);
  return AfterFramePass(hwnd, previous, message, wparam, lparam, painted);
}

}  // namespace quorvel::caption
