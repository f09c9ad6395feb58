// A window whose controls come from a layout table: the controls' shared
// messages are answered before the window's own handlers see any.
#pragma once

#include <memory>
#include <optional>

#include "layout/win32/window_controls.h"
#include "platform/win32/window.h"

namespace quorvel::layout {

class FormWindow : public win::Window {
 protected:
  virtual LRESULT OnFormMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
  // The controls go with the window; a later load makes them anew.
  void OnDestroyed() override { controls_.reset(); }

  std::unique_ptr<WindowControls> controls_;

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) final {
    if (controls_)
      if (const std::optional<LRESULT> handled = controls_->HandleMessage(message, wparam, lparam))
        return *handled;
    return OnFormMessage(message, wparam, lparam);
  }
};

}  // namespace quorvel::layout
