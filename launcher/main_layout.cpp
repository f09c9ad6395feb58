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

}  // namespace

const std::array<layout::Control, 26> kMainControls{{
    {"Label1", Kind::kLabel, "Load ROM : Files Encountered", {120, 720, 3375, 495}, 0, kHeading, kBlue, kHighlightText, kIdLabel1},
    {"File1", Kind::kFileList, "", {120, 1200, 3375, 4140}, 1, kTimes, kWindow, kWindowText, kIdFile1},
    {"Label2", Kind::kLabel, "Video Options", {3600, 720, 2415, 495}, 2, kHeading, kBlue, kWhite, kIdLabel2},
    {"Check1", Kind::kCheckBox, "Scanlines", {3600, 1200, 2415, 495}, 3, kTimes, kWindow, kWindowText, kIdCheck1},
    {"Check2", Kind::kCheckBox, "Blur - Req. 16bit Color", {3600, 1680, 2415, 375}, 4, kTimes, kWindow, kWindowText, kIdCheck2},
    {"Check4", Kind::kCheckBox, "Scaled Display", {3600, 2040, 2415, 495}, 5, kTimes, kWindow, kWindowText, kIdCheck4},
    {"Label3", Kind::kLabel, "Controller ", {3600, 3600, 2415, 375}, 6, kHeading, kBlue, kHighlightText, kIdLabel3},
    {"Option1", Kind::kOptionButton, "Keyboard", {3600, 3960, 2415, 375}, 7, kTimes, kWindow, kWindowText, kIdOption1},
    {"Option2", Kind::kOptionButton, "Joystick", {3600, 4320, 2415, 375}, 8, kTimes, kWindow, kWindowText, kIdOption2},
    {"Label4", Kind::kLabel, "Sound Options", {6360, 720, 2295, 495}, 9, kHeading, kBlue, kHighlightText, kIdLabel4},
    {"Check5", Kind::kCheckBox, "Enabled", {6360, 1200, 2295, 375}, 10, kTimes, kWindow, kWindowText, kIdCheck5},
    {"Label5", Kind::kLabel, "Sound Rate", {6360, 1800, 2295, 375}, 11, kHeading, kBlue, kHighlightText, kIdLabel5},
    {"Option3", Kind::kOptionButton, "11.025Hz", {6360, 2520, 2295, 375}, 12, kTimes, kWindow, kWindowText, kIdOption3},
    {"Option4", Kind::kOptionButton, "22.050Hz", {6360, 2880, 2295, 375}, 13, kTimes, kWindow, kWindowText, kIdOption4},
    {"Command1", Kind::kButton, "Load and Run", {120, 5520, 3375, 495}, 14, kTerminal, kYellow, kAsIs, kIdCommand1},
    {"Command2", Kind::kButton, "About", {6000, 6240, 1335, 375}, 15, kDefault, kYellow, kAsIs, kIdCommand2},
    {"Check6", Kind::kCheckBox, "Expand - 8 Bit Color Only", {3600, 2400, 2415, 615}, 16, kTimes, kWindow, kWindowText, kIdCheck6},
    {"Command3", Kind::kButton, "...", {5400, 4440, 615, 375}, 17, kTimes, kYellow, kAsIs, kIdCommand3},
    {"Option5", Kind::kOptionButton, "8.000Hz", {6360, 2160, 2295, 375}, 18, kTimes, kWindow, kWindowText, kIdOption5},
    {"Option6", Kind::kOptionButton, "44.100Hz", {6360, 3240, 2295, 495}, 19, kTimes, kWindow, kWindowText, kIdOption6},
    {"Label6", Kind::kLabel, "Other", {6360, 4080, 2295, 375}, 20, kHeading, kBlue, kHighlightText, kIdLabel6},
    {"Check7", Kind::kCheckBox, "No MMX Instructions", {6360, 4440, 2295, 375}, 21, kTimes, kWindow, kWindowText, kIdCheck7},
    {"Check8", Kind::kCheckBox, "VSync", {6360, 4800, 2295, 495}, 22, kTimes, kWindow, kWindowText, kIdCheck8},
    {"Check9", Kind::kCheckBox, "Speed Throttle", {6360, 5280, 2295, 495}, 23, kTimes, kWindow, kWindowText, kIdCheck9},
    {"Command4", Kind::kButton, "Select Resolution...", {3600, 3000, 2415, 375}, 24, kDefault, kYellow, kAsIs, kIdCommand4},
    {"Image1", Kind::kPicture, "", {7440, 6240, 1200, 450}, -1, kNone, kAsIs, kAsIs, kIdImage1},
}};

}  // namespace quorvel::launcher
