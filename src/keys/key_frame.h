#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "keys/key_code.h"

namespace kestrova::keys {

constexpr std::string_view kNotConnectedMessage = "写入失败，请先连接。";
// A switch number too large to have an integer value (a very long digit
// string typed into the selector) names no slot.
constexpr std::string_view kInvalidSwitchMessage = "写入失败，开关选择无效。";
// Only the spare key has no code, and it is never shown.
constexpr std::string_view kNoKeyCodeMessage = "写入失败，该按键没有键值。";

// The slot address byte of a switch number: (n - 1) x 4, low 8 bits.
// nullopt when the number is too large to have an integer value.
std::optional<std::string> SlotAddressByte(double switchNumber);

// "aa 01 <slot> <mods> <key> 00 00". nullopt (nothing to build) when the
// switch number has no integer value or the key code spells no number.
std::optional<std::string> KeyFrameText(double switchNumber, std::uint8_t modifierMask, const KeyCodeValue& keyCode);

// Why KeyFrameText built nothing, as the status log says it.
std::string_view KeyFrameRefusal(double switchNumber);

// "成功在开关 <n> 中写入< mods caption >"
std::string KeyAssignedMessage(double switchNumber, std::uint8_t modifierMask, const std::string& caption);

}  // namespace kestrova::keys
