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
#include <string>
#include <tuple>
#include <vector>

#include "launcher/form_layout.h"
#include "platform/handles.h"

namespace quorvel::form {

struct FormOptions {
  // Paints the window's own background into `hdc` as it lies under a picture
  // control, `origin` being the control's top-left corner in the window.
  std::function<void(HDC hdc, POINT origin, SIZE size)> paint_background;
  // The option button an arrow key moves to from `id`, if any.
  std::function<std::optional<int>(int id, int step)> next_in_group;
  // Resource ids of the bitmaps of picture controls, by control name.
  std::map<std::string, int, std::less<>> pictures;
  // A picture colour that shows the background through, 0xRRGGBB.
  std::optional<std::uint32_t> transparent_colour;
  // The mouse pointer over the window's surface and its controls.
  HCURSOR pointer = nullptr;
};

class Form {
 public:
  Form(HWND parent, std::span<const layout::Control> controls, FormOptions options);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  ~Form();

  HWND Item(int id) const { return ::GetDlgItem(parent_, id); }
  const layout::Control* ControlOf(int id) const;
  int dpi() const { return dpi_; }

  // The messages every window with a form handles alike: the controls'
  // colours and drawing, the pointer, the focus across activation and a new
  // DPI. nullopt for any other message.
  std::optional<LRESULT> HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);

  // The control that gets the focus when the window is next activated.
  void SetFocusControl(HWND control) { focus_ = control; }

  // Option buttons: checked or not.
  bool IsChecked(int id) const;
  void SetChecked(int id, bool checked) const;

 private:
  void Relayout(int dpi, const RECT& suggested);
  std::optional<LRESULT> OnControlColour(HDC hdc, HWND control);
  bool OnDrawItem(const DRAWITEMSTRUCT& item);
  void OnActivate(bool active);
  HFONT FontFor(const layout::Font& font);
  HBRUSH BrushFor(COLORREF colour);
  void Place(HWND control, const layout::Control& spec);
  void DrawButton(const DRAWITEMSTRUCT& item, const layout::Control& spec);
  void DrawPicture(const DRAWITEMSTRUCT& item, const layout::Control& spec);

  HWND parent_;
  std::span<const layout::Control> controls_;
  FormOptions options_;
  int dpi_;
  std::map<std::tuple<std::string, int, bool, bool, bool, int>, win::UniqueFont> fonts_;
  std::map<COLORREF, win::UniqueBrush> brushes_;
  std::map<int, win::UniqueBitmap> pictures_;
  HWND focus_ = nullptr;
};

// The colour as the system shows it now.
COLORREF ToColorRef(const layout::Colour& colour, COLORREF fallback);
// 0xRRGGBB as the system's 0x00BBGGRR.
inline COLORREF FromRgb(std::uint32_t rrggbb) {
  return RGB((rrggbb >> 16) & 0xFF, (rrggbb >> 8) & 0xFF, rrggbb & 0xFF);
}

// The program's own mouse pointer, which all its windows show.
HCURSOR LoadPointer(HINSTANCE instance);

// The installed face nearest to the one asked for.
std::wstring AvailableFace(std::string_view face);

}  // namespace quorvel::form
