#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova::keys {

// Back colours in the toolkit's encoding (0x00BBGGRR, high bit = system colour).
using ColourValue = std::uint32_t;
constexpr ColourValue kToggleOnColour = 0x00FF00;      // pure green: the only colour that means on
constexpr ColourValue kButtonFaceColour = 0x8000000F;  // the system colour button face: off

struct ModifierToggle {
  std::string_view control;  // window control name
  std::string_view caption;
  std::uint8_t bit;  // in the modifier byte of a boot keyboard report
};

// In the order the frame builder reads them: left Ctrl, Shift, Alt, Win, then right.
constexpr std::array<ModifierToggle, 8> kModifierToggles = {{
    {"Command_ctrl", "Ctrl", 0x01},
    {"Command_shift", "Shift", 0x02},
    {"Command_alt", "Alt", 0x04},
    {"Command_win", "Win", 0x08},
    {"Command_ctrl_r", "Ctrl", 0x10},
    {"Command_shift_r", "Shift", 0x20},
    {"Command_alt_r", "Alt", 0x40},
    {"Command_win_r", "Win", 0x80},
}};

// A click turns a button-face toggle on and any other colour off.
ColourValue ToggledColour(ColourValue current);

// The modifier byte from the toggles' back colours, in kModifierToggles order.
std::uint8_t ModifierMaskFromColours(const std::array<ColourValue, 8>& colours);

// "Ctrl + Alt + " ...: the modifiers of a mask as the status log names them,
// Alt before Shift on each side.
std::string ModifierLogText(std::uint8_t mask);

}  // namespace kestrova::keys
