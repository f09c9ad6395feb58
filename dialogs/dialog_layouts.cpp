#include "dialogs/dialog_layouts.h"

#include <algorithm>
#include <vector>

namespace quorvel::dialogs {
namespace {

using namespace layout;

constexpr Font kTitleFont = kHeadingFont;
constexpr Font kTimes = kTimesFont;
constexpr Font kDefault = kDefaultFont;
constexpr Font kTerminal = kTerminalFont;
constexpr Colour kGreen = Colour::Rgb(0x00C000);

constexpr Control Option(std::string_view name, std::string_view caption, layout::Rect twips,
                         int tab, Font font) {
  return {name, Kind::kOptionButton, caption, twips, tab, font, kWindow, kWindowText, 100 + tab};
}

// The green label across the top that stands in for a title bar.
constexpr Control Title(std::string_view caption, layout::Rect twips, Colour text) {
  return {"Label1", Kind::kLabel, caption, twips, 0, kTitleFont, kGreen, text, 100};
}

constexpr Control OkButton(layout::Rect twips, int tab) {
  return {"Command1", Kind::kButton, "OK", twips, tab, kTerminal, kYellow, kAsIs, kIdOk};
}

constexpr std::array<Control, 28> kForm3Controls{{
    Title("Select Joystick Type", {0, 0, 5895, 495}, kHighlightText),
    Option("Option1", "Auto Detection", {120, 600, 2295, 495}, 1, kTimes),
    Option("Option2", "Standard", {120, 960, 2295, 375}, 2, kTimes),
    Option("Option3", "2pads", {120, 1320, 2295, 255}, 3, kTimes),
    Option("Option4", "4 Buttons", {120, 1560, 2055, 375}, 4, kTimes),
    Option("Option5", "6 Buttons", {120, 1920, 2415, 255}, 5, kTimes),
    Option("Option6", "8 Buttons", {120, 2160, 2655, 435}, 6, kTimes),
    Option("Option7", "FlightStick Pro", {120, 2520, 2055, 315}, 7, kTimes),
    Option("Option8", "Microsoft SideWinder", {120, 2880, 2655, 255}, 8, kTimes),
    Option("Option9", "Wing EX", {120, 3120, 2535, 375}, 9, kTimes),
    Option("Option10", "Game Pad Pro", {120, 3480, 2535, 255}, 10, kTimes),
    OkButton({120, 4920, 4335, 495}, 11),
    Option("Option11", "Grip", {2520, 720, 1815, 375}, 12, kTimes),
    Option("Option12", "Grip 4", {2520, 1080, 1815, 255}, 13, kTimes),
    Option("Option13", "SNES Pad on LPT 1", {2520, 1320, 1935, 375}, 14, kTimes),
    Option("Option14", "SNES Pad on LPT 2", {2520, 1680, 1935, 255}, 15, kTimes),
    Option("Option15", "SNES Pad on LPT 3", {2520, 1920, 1935, 375}, 16, kTimes),
    Option("Option16", "PSX Pad on LPT 1", {2520, 2280, 1815, 255}, 17, kTimes),
    Option("Option17", "PSX Pad on LPT 2", {2520, 2520, 1815, 375}, 18, kTimes),
    Option("Option18", "PSX Pad on LPT 3", {2520, 2880, 1815, 255}, 19, kTimes),
    Option("Option19", "N64 Pad on LPT 1", {2520, 3120, 1815, 375}, 20, kTimes),
    Option("Option20", "N64 Pad on LPT 2", {2520, 3480, 1815, 255}, 21, kTimes),
    Option("Option21", "TG16 Pad on LPT 1", {120, 3720, 2415, 375}, 22, kTimes),
    Option("Option22", "TG16 Pad on LPT 2", {120, 4080, 2415, 255}, 23, kTimes),
    Option("Option23", "TG16 Pad on LPT 3", {120, 4320, 2295, 375}, 24, kTimes),
    Option("Option24", "N64 Pad on LPT 3", {2520, 3720, 1815, 375}, 25, kTimes),
    Option("Option25", "Sega ISA", {2520, 4080, 1815, 255}, 26, kTimes),
    Option("Option26", "Sega PCI", {2520, 4320, 1815, 375}, 27, kTimes),
}};

constexpr std::array<Control, 7> kForm4Controls{{
    Title("Select Resolution", {0, 0, 4695, 615}, kWhite),
    Option("Option1", "320 x 200", {120, 720, 2055, 375}, 1, kDefault),
    Option("Option2", "320 x 240", {120, 1200, 2055, 495}, 2, kDefault),
    Option("Option3", "640 x 480", {120, 1800, 2295, 495}, 3, kDefault),
    Option("Option4", "800 x 600", {2400, 720, 1695, 375}, 4, kDefault),
    Option("Option5", "1024 x 860", {2400, 1320, 1095, 255}, 5, kDefault),
    OkButton({0, 2400, 4575, 495}, 6),
}};

constexpr Colour kBlack = Colour::Rgb(0x000000);

constexpr Control AboutLabel(std::string_view name, std::string_view caption, layout::Rect twips,
                             int tab, Font font, Colour back, std::uint32_t text) {
  return {name, Kind::kLabel, caption, twips, tab, font, back, Colour::Rgb(text), 100 + tab};
}

}  // namespace

const std::array<Control, 7> kAboutControls{{
    AboutLabel("Label1", "Quorvel", {120, 240, 4575, 1095}, 0, {"Aristocrat", 4800, true}, kBlack,
               0xFFFF00),
    AboutLabel("Label2", "Version : 0.20b", {1920, 2040, 2175, 375}, 1,
               {"MS Sans Serif", 1350, true}, kBlack, 0x0000FF),
    AboutLabel("Label3", "Coded by Ovidan", {120, 2640, 2535, 495}, 2,
               {"Arial Narrow", 2025, false, true}, Colour::System(kColorButtonText), 0x00FF00),
    AboutLabel("Label5", kProjectAddress, {240, 3480, 6015, 615}, 3, {"MS Sans Serif", 1200, true},
               Colour::System(kColorButtonText), 0xFF0000),
    {"Command1",
     Kind::kButton,
     "OK",
     {120, 4200, 6255, 615},
     4,
     kDefault,
     Colour::Rgb(0xFFE0C0),
     kAsIs,
     kIdOk},
    AboutLabel("Label6", "The Ultimate Korvax Launcher", {240, 1440, 4455, 495}, 5,
               {"Brush Script MT", 1800, false, true}, Colour::System(kColorMenuText), 0xFFFFFF),
    {"Image1", Kind::kPicture, "", {5040, 120, 1230, 2595}, -1, {}, kAsIs, kAsIs, 120},
}};

const OptionDialogForm kJoystickTypeForm{
    "", 4530, 5490, kForm3Controls, kJoystickTypes, settings::kJoystickType};
const OptionDialogForm kResolutionForm{"Form4",        4680,         2985,
                                       kForm4Controls, kResolutions, settings::kResolution};

std::vector<int> ScreenOrder(const OptionDialogForm& form) {
  std::vector<const Control*> options;
  for (const Control& control : form.controls)
    if (control.kind == Kind::kOptionButton) options.push_back(&control);
  std::stable_sort(options.begin(), options.end(), [](const Control* a, const Control* b) {
    return a->twips.left != b->twips.left ? a->twips.left < b->twips.left
                                          : a->twips.top < b->twips.top;
  });
  std::vector<int> order;
  for (const Control* option : options) order.push_back(option->id);
  return order;
}

}  // namespace quorvel::dialogs
