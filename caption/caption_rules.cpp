#include "caption/caption_rules.h"

namespace quorvel::caption {

Handling HandlingOf(unsigned message) {
  switch (message) {
    case kWmSize:
      return Handling::kRepaintThenPassOn;
    case kWmKillFocus:
    case kWmMouseActivate:
    case kWmNcActivate:
    case kWmMdiActivate:
      return Handling::kActivationPass;
    case kWmSetText:
    case kWmNcPaint:
    case kWmNcLButtonDown:
    case kWmNcRButtonDown:
    case kWmSysCommand:
    case kWmInitMenuPopup:
      return Handling::kFramePass;
    case kWmSetCursor:
      return Handling::kSizingCursor;
  }
  return Handling::kPassOn;
}

bool ActiveForActivationPass(unsigned message, std::uintptr_t wparam, const WindowFacts& facts) {
  if (facts.has_parent && message == kWmKillFocus) return false;
  if (!facts.has_parent && message == kWmNcActivate) return wparam != 0;
  if (facts.has_parent && facts.wparam_is_window) return false;
  if (facts.active_mdi_child) return true;
  return facts.active_window;
}

bool ActiveForFramePass(const WindowFacts& facts) {
  return facts.active_window || facts.active_mdi_child;
}

FollowUp FollowUpOf(unsigned message, std::uintptr_t wparam, bool zoomed) {
  if (message == kWmNcLButtonDown) {
    if (wparam != kHtCaption && wparam != kHtSysMenu) return FollowUp::kPassOn;
    if (wparam == kHtCaption && !zoomed) return FollowUp::kStartMove;
  }
  if (message == kWmSysCommand && wparam != kScMouseMenu) return FollowUp::kPassOn;
  return FollowUp::kKeepResult;
}

std::optional<int> SizingCursor(std::intptr_t lparam) {
  switch (static_cast<std::int16_t>(lparam & 0xFFFF)) {
    case kHtLeft:
    case kHtRight:
      return kIdcSizeWe;
    case kHtTop:
    case kHtBottom:
      return kIdcSizeNs;
    case kHtTopLeft:
    case kHtBottomRight:
      return kIdcSizeNwse;
    case kHtTopRight:
    case kHtBottomLeft:
      return kIdcSizeNesw;
  }
  return std::nullopt;
}

}  // namespace quorvel::caption
