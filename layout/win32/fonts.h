// The layouts' fonts: the installed face nearest to each one asked for, and
// the fonts made for a window at its DPI.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <tuple>

#include "layout/form_layout.h"
#include "platform/win32/handles.h"

namespace quorvel::layout {

// The installed face nearest to `face`, looked up once per process.
std::wstring AvailableFace(std::string_view face);

// Fonts made on first use and kept for the window's lifetime.
class FontCache {
 public:
  // nullptr for the window's default font (a layout font with no face).
  HFONT Get(const Font& font, int dpi);

 private:
  std::map<std::tuple<std::string_view, int, bool, bool, bool, int>, win::UniqueFont> fonts_;
};

}  // namespace quorvel::layout
