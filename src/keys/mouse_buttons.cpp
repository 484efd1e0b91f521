#include "keys/mouse_buttons.h"

#include "app/hex_byte.h"
#include "app/numeric_value.h"
#include "keys/key_frame.h"

namespace kestrova::keys {

std::optional<std::string> MouseFrameText(double switchNumber, double buttonCode) {
  const auto slot = SlotAddressByte(switchNumber);
  const auto button = HexByte(buttonCode);
  if (!slot || !button) return std::nullopt;
  return "aa 02 " + *slot + " FE " + *button + " 00 00";
}

std::string MouseAssignedMessage(double switchNumber, const MouseButton& button) {
  return "成功在开关 < " + ShortestDecimal(switchNumber) + std::string(button.logText);
}

}  // namespace kestrova::keys
