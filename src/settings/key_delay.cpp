#include "settings/key_delay.h"

#include <algorithm>

#include "app/hex_byte.h"
#include "app/numeric_value.h"

namespace kestrova::settings {

double KeyDelayMilliseconds(std::string_view delayText) {
  // Texts past the range of double read as +/-infinity and land on a bound.
  return std::clamp(RoundHalfEven(NumericValue(delayText)), kMinKeyDelay, kMaxKeyDelay);
}

std::string KeyDelayFrameText(double delayMilliseconds) {
  const std::uint16_t word = LowWord(delayMilliseconds).value_or(0);
  return "AA 01 7C 79 01 " + HexDigits(static_cast<std::uint8_t>(word >> 8)) + " " +
         HexDigits(static_cast<std::uint8_t>(word & 0xFF));
}

bool ShouldLogKeyDelay(std::string_view delayText) { return NumericValue(delayText) > 0; }

std::string KeyDelayMessage(double delayMilliseconds) {
  return "按键延时响应时间：" + ShortestDecimal(delayMilliseconds) + " ms";
}

std::string LongPressFrameText(bool longPressTicked) {
  return std::string("AA 01 78 79 01 ") + (longPressTicked ? "01" : "00") + " 00";
}

std::optional<std::string> CappedKeyDelayText(std::string_view delayText) {
  if (NumericValue(delayText) > kMaxKeyDelay) return ShortestDecimal(kMaxKeyDelay);
  return std::nullopt;
}

}  // namespace kestrova::settings
