// The caption painter's decisions: how each message of a hooked window is
// handled, whether a pass draws the window as active, what follows a frame
// pass, and the sizing pointers. Plain functions of the message and a few
// facts about the window.
#pragma once

#include <cstdint>
#include <optional>

namespace quorvel::caption {

// The messages the painter treats apart, by number.
inline constexpr unsigned kWmSize = 0x0005;
inline constexpr unsigned kWmKillFocus = 0x0008;
inline constexpr unsigned kWmSetText = 0x000C;
inline constexpr unsigned kWmSetCursor = 0x0020;
inline constexpr unsigned kWmMouseActivate = 0x0021;
inline constexpr unsigned kWmNcPaint = 0x0085;
inline constexpr unsigned kWmNcActivate = 0x0086;
inline constexpr unsigned kWmNcLButtonDown = 0x00A1;
inline constexpr unsigned kWmNcRButtonDown = 0x00A4;
inline constexpr unsigned kWmSysCommand = 0x0112;
inline constexpr unsigned kWmInitMenuPopup = 0x0117;
inline constexpr unsigned kWmMdiActivate = 0x0222;

// Hit-test codes, the system command of a click on the window menu's icon,
// and the system's sizing pointers.
inline constexpr std::uintptr_t kHtCaption = 2;
inline constexpr std::uintptr_t kHtSysMenu = 3;
inline constexpr std::int16_t kHtLeft = 10, kHtRight = 11, kHtTop = 12, kHtTopLeft = 13,
                              kHtTopRight = 14, kHtBottom = 15, kHtBottomLeft = 16,
                              kHtBottomRight = 17;
inline constexpr std::uintptr_t kScMouseMenu = 0xF090;
inline constexpr int kIdcSizeNwse = 32642, kIdcSizeNesw = 32643, kIdcSizeWe = 32644,
                     kIdcSizeNs = 32645;

enum class Handling {
  kPassOn,             // straight to the previous procedure
  kRepaintThenPassOn,  // WM_SIZE: the caption first, then the previous procedure
  kActivationPass,     // painted, answered 1, never passed on
  kFramePass,          // painted, the rest of the frame by the previous procedure
  kSizingCursor,       // a sizing pointer, or passed on
};

Handling HandlingOf(unsigned message);

// What a pass asks of the window to decide whether it is drawn as active.
struct WindowFacts {
  bool has_parent = false;
  bool wparam_is_window = false;  // the message's wParam is the window's own handle
  bool active_mdi_child = false;  // the parent names the window its active MDI child
  bool active_window = false;     // the system names the window its active window
};

bool ActiveForActivationPass(unsigned message, std::uintptr_t wparam, const WindowFacts& facts);
bool ActiveForFramePass(const WindowFacts& facts);

enum class FollowUp {
  kKeepResult,  // the frame pass's answer stands; the message goes no further
  kPassOn,      // the message goes on to the previous procedure, whose answer is returned
  kStartMove,   // the window is sent SC_MOVE, whose answer is returned
};

FollowUp FollowUpOf(unsigned message, std::uintptr_t wparam, bool zoomed);

// The system pointer (its IDC_SIZE* id) for a WM_SETCURSOR whose lParam
// carries this hit-test code in its low word; nullopt to pass it on.
std::optional<int> SizingCursor(std::intptr_t lparam);

}  // namespace quorvel::caption
