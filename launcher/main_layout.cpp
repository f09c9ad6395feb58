#include "launcher/main_layout.h"

namespace quorvel::launcher {
namespace {

using namespace layout;

constexpr Font kTimes = kTimesFont;
constexpr Font kHeading = kHeadingFont;
constexpr Font kTerminal = kTerminalFont;
constexpr Font kDefault = kDefaultFont;
constexpr Font kNone{};
constexpr Colour kBlue = Colour::Rgb(0x0000FF);

// Ids follow the tab order.
constexpr Control Row(std::string_view name, Kind kind, std::string_view caption, Rect twips,
                      int tab, Font font, Colour back, Colour text) {
  return {name, kind, caption, twips, tab, font, back, text, kIdLabel1 + tab};
}
constexpr Control Label(std::string_view name, std::string_view caption, Rect twips, int tab,
                        Colour text = kHighlightText) {
  return Row(name, Kind::kLabel, caption, twips, tab, kHeading, kBlue, text);
}
constexpr Control Check(std::string_view name, std::string_view caption, Rect twips, int tab) {
  return Row(name, Kind::kCheckBox, caption, twips, tab, kTimes, kWindow, kWindowText);
}
constexpr Control Option(std::string_view name, std::string_view caption, Rect twips, int tab) {
  return Row(name, Kind::kOptionButton, caption, twips, tab, kTimes, kWindow, kWindowText);
}
constexpr Control Button(std::string_view name, std::string_view caption, Rect twips, int tab,
                         Font font) {
  return Row(name, Kind::kButton, caption, twips, tab, font, kYellow, kAsIs);
}

}  // namespace

const std::array<layout::Control, 26> kMainControls{{
    Label("Label1", "Load ROM : Files Encountered", {120, 720, 3375, 495}, 0),
    Row("File1", Kind::kFileList, "", {120, 1200, 3375, 4140}, 1, kTimes, kWindow, kWindowText),
    Label("Label2", "Video Options", {3600, 720, 2415, 495}, 2, kWhite),
    Check("Check1", "Scanlines", {3600, 1200, 2415, 495}, 3),
    Check("Check2", "Blur - Req. 16bit Color", {3600, 1680, 2415, 375}, 4),
    Check("Check4", "Scaled Display", {3600, 2040, 2415, 495}, 5),
    Label("Label3", "Controller ", {3600, 3600, 2415, 375}, 6),
    Option("Option1", "Keyboard", {3600, 3960, 2415, 375}, 7),
    Option("Option2", "Joystick", {3600, 4320, 2415, 375}, 8),
    Label("Label4", "Sound Options", {6360, 720, 2295, 495}, 9),
    Check("Check5", "Enabled", {6360, 1200, 2295, 375}, 10),
    Label("Label5", "Sound Rate", {6360, 1800, 2295, 375}, 11),
    Option("Option3", "11.025Hz", {6360, 2520, 2295, 375}, 12),
    Option("Option4", "22.050Hz", {6360, 2880, 2295, 375}, 13),
    Button("Command1", "Load and Run", {120, 5520, 3375, 495}, 14, kTerminal),
    Button("Command2", "About", {6000, 6240, 1335, 375}, 15, kDefault),
    Check("Check6", "Expand - 8 Bit Color Only", {3600, 2400, 2415, 615}, 16),
    Button("Command3", "...", {5400, 4440, 615, 375}, 17, kTimes),
    Option("Option5", "8.000Hz", {6360, 2160, 2295, 375}, 18),
    Option("Option6", "44.100Hz", {6360, 3240, 2295, 495}, 19),
    Label("Label6", "Other", {6360, 4080, 2295, 375}, 20),
    Check("Check7", "No MMX Instructions", {6360, 4440, 2295, 375}, 21),
    Check("Check8", "VSync", {6360, 4800, 2295, 495}, 22),
    Check("Check9", "Speed Throttle", {6360, 5280, 2295, 495}, 23),
    Button("Command4", "Select Resolution...", {3600, 3000, 2415, 375}, 24, kDefault),
    {"Image1", Kind::kPicture, "", {7440, 6240, 1200, 450}, -1, kNone, kAsIs, kAsIs, kIdImage1},
}};

}  // namespace quorvel::launcher
