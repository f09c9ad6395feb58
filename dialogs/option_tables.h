// The option tables of the joystick type and resolution dialogs: one row per
// option button, with the value stored for it, in the order both the load
// step and the OK step walk them.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace quorvel::dialogs {

struct OptionRow {
  std::string_view button;  // the option button's name in its dialog
  std::string_view caption;
  std::string_view value;  // stored as it stands, trailing blank included
};

// The names are as they stand: the third N64 button is Option24, and the TG16
// buttons are Option21 to Option23.
inline constexpr std::array<OptionRow, 26> kJoystickTypes{{
    {"Option1", "Auto Detection", "auto "},
    {"Option2", "Standard", "standard "},
    {"Option3", "2pads", "2pads "},
    {"Option4", "4 Buttons", "4button "},
    {"Option5", "6 Buttons", "6button "},
    {"Option6", "8 Buttons", "8button "},
    {"Option7", "FlightStick Pro", "fspro "},
    {"Option8", "Microsoft SideWinder", "sidewinder "},
    {"Option9", "Wing EX", "wingex "},
    {"Option10", "Game Pad Pro", "gamepdpro "},
    {"Option11", "Grip", "grip "},
    {"Option12", "Grip 4", "grip4 "},
    {"Option13", "SNES Pad on LPT 1", "sneslpt1 "},
    {"Option14", "SNES Pad on LPT 2", "sneslpt2 "},
    {"Option15", "SNES Pad on LPT 3", "sneslpt3 "},
    {"Option16", "PSX Pad on LPT 1", "psxlpt1 "},
    {"Option17", "PSX Pad on LPT 2", "psxlpt2 "},
    {"Option18", "PSX Pad on LPT 3", "psxlpt3 "},
    {"Option19", "N64 Pad on LPT 1", "n64lpt1 "},
    {"Option20", "N64 Pad on LPT 2", "n64lpt2 "},
    {"Option24", "N64 Pad on LPT 3", "n64lpt3 "},
    {"Option21", "TG16 Pad on LPT 1", "tg16lpt1 "},
    {"Option22", "TG16 Pad on LPT 2", "tg16lpt2 "},
    {"Option23", "TG16 Pad on LPT 3", "tg16lpt3 "},
    {"Option25", "Sega ISA", "segaisa "},
    {"Option26", "Sega PCI", "segapci "},
}};

// 1024 by 860, not 768.
inline constexpr std::array<OptionRow, 5> kResolutions{{
    {"Option1", "320 x 200", "320 200 "},
    {"Option2", "320 x 240", "320 240 "},
    {"Option3", "640 x 480", "640 480 "},
    {"Option4", "800 x 600", "800 600 "},
    {"Option5", "1024 x 860", "1024 860 "},
}};

// The first row whose value equals the stored text exactly: letter case and
// every blank count, nothing is trimmed. nullopt when none does.
std::optional<std::size_t> MatchingRow(std::span<const OptionRow> rows, std::string_view stored);

}  // namespace quorvel::dialogs
