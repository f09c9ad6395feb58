// The controls of one window, made from its layout table: standard BUTTON,
// LISTBOX and STATIC controls at their rectangles for the window's DPI, with
// their fonts and colours. The window forwards a few messages here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "layout/form_layout.h"
#include "layout/win32/fonts.h"
#include "layout/win32/option_keys.h"
#include "layout/win32/owner_draw.h"
#include "platform/win32/handles.h"

namespace quorvel::layout {

struct ControlOptions {
  BackgroundPainter paint_background;  // under picture controls
  GroupWalk next_in_group;             // for the option buttons' arrow keys
  // Resource ids of the bitmaps of picture controls, by control name.
  std::map<std::string_view, int> pictures;
  // A picture colour that shows the background through, 0xRRGGBB.
  std::optional<std::uint32_t> transparent_colour;
  // Told whenever the pointer moves over the window or one of its controls,
  // with the window under it.
  std::function<void(HWND under)> pointer_over;
};

class WindowControls {
 public:
  // Makes the controls in tab order, the order the dialog manager's Tab key
  // follows.
  WindowControls(HWND parent, std::span<const Control> controls, ControlOptions options);
  WindowControls(const WindowControls&) = delete;
  WindowControls& operator=(const WindowControls&) = delete;

  HWND Item(int id) const;  // nullptr for an id not in the table
  const Control* ControlOf(int id) const;
  int dpi() const { return dpi_; }

  // The messages every window with controls handles alike: the controls'
  // colours and drawing, the window's pointer over its controls too, the
  // focus across activation and a new DPI. nullopt for any other message.
  std::optional<LRESULT> HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  // The control that gets the focus when the window is next activated.
  void SetFocusControl(HWND control) { focus_ = control; }

  // Check boxes and option buttons: checked or not.
  bool IsChecked(int id) const;
  void SetChecked(int id, bool checked) const;
  // Showing the window asks every control to paint its frame too. A control
  // without one (its window and client rectangles alike) paints nothing
  // there, yet that paint costs it a DC of its own and, under Wine, about a
  // quarter of its first paint: called between showing and painting, this
  // drops it.
  void DropEmptyFramePaints() const;

 private:
  // The control's font and, where a control in front overlaps it, its window
  // region, for the window's DPI.
  void Dress(HWND control, const Control& spec, bool redraw);
  void Relayout(int dpi, const RECT& suggested);
  std::optional<LRESULT> OnControlColour(HDC hdc, HWND control);
  bool OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnActivate(bool active);
  HBRUSH BrushFor(COLORREF colour);

  HWND parent_;
  std::span<const Control> controls_;
  // The controls' windows, in the table's order: asking the window system for
  // a child by its id lists all of them each time.
  std::vector<HWND> items_;
  ControlOptions options_;
  int dpi_;
  FontCache fonts_;
  std::map<COLORREF, win::UniqueBrush> brushes_;
  std::map<int, win::UniqueBitmap> pictures_;
  HWND focus_ = nullptr;
};

}  // namespace quorvel::layout
