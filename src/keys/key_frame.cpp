#include "keys/key_frame.h"

#include "app/hex_byte.h"
#include "app/numeric_value.h"
#include "keys/modifiers.h"

namespace kestrova::keys {

std::optional<std::string> SlotAddressByte(double switchNumber) { return HexByte((switchNumber - 1) * 4); }

std::optional<std::string> KeyFrameText(double switchNumber, std::uint8_t modifierMask, const KeyCodeValue& keyCode) {
  const auto slot = SlotAddressByte(switchNumber);
  const auto key = std::visit([](const auto& code) { return HexByte(code); }, keyCode);
  if (!slot || !key) return std::nullopt;
  return "aa 01 " + *slot + " " + HexDigits(modifierMask) + " " + *key + " 00 00";
}

std::string_view KeyFrameRefusal(double switchNumber) {
  if (!SlotAddressByte(switchNumber)) return kInvalidSwitchMessage;
  return kNoKeyCodeMessage;
}

std::string KeyAssignedMessage(double switchNumber, std::uint8_t modifierMask, const std::string& caption) {
  return "成功在开关 <" + ShortestDecimal(switchNumber) + "> 中写入< " + ModifierLogText(modifierMask) + caption + " >";
}

}  // namespace kestrova::keys
