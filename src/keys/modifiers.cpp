#include "keys/modifiers.h"

namespace kestrova::keys {
namespace {

struct ModifierName {
  std::uint8_t bit;
  std::string_view text;
};

constexpr std::array<ModifierName, 8> kLogOrder = {{
    {0x01, "Ctrl + "},
    {0x04, "Alt + "},
    {0x02, "Shift + "},
    {0x08, "Win + "},
    {0x10, "Ctrl_R + "},
    {0x40, "Alt_R + "},
    {0x20, "Shift_R + "},
    {0x80, "Win_R + "},
}};

}  // namespace

ColourValue ToggledColour(ColourValue current) {
  return current == kButtonFaceColour ? kToggleOnColour : kButtonFaceColour;
}

std::uint8_t ModifierMaskFromColours(const std::array<ColourValue, 8>& colours) {
  std::uint8_t mask = 0;
  for (std::size_t i = 0; i < colours.size(); ++i) {
    if (colours[i] == kToggleOnColour) mask = static_cast<std::uint8_t>(mask | kModifierToggles[i].bit);
  }
  return mask;
}

std::string ModifierLogText(std::uint8_t mask) {
  std::string text;
  for (const ModifierName& name : kLogOrder) {
    if ((mask & name.bit) != 0) text += name.text;
  }
  return text;
}

}  // namespace kestrova::keys
