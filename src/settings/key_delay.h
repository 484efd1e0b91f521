#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrova::settings {

constexpr double kMaxKeyDelay = 65535;
constexpr double kMinKeyDelay = -32768;  // lowest value with a 16-bit form

// The delay a text asks for, rounded half to even and kept to the range a
// 16-bit field can carry (below -32768 there is no 16-bit form: clamped).
double KeyDelayMilliseconds(std::string_view delayText);

// "AA 01 7C 79 01 HH LL"
std::string KeyDelayFrameText(double delayMilliseconds);

// The delay is logged when the text's value, before rounding, is above 0.
bool ShouldLogKeyDelay(std::string_view delayText);
std::string KeyDelayMessage(double delayMilliseconds);

// "AA 01 78 79 01 VV 00" with VV the check box value 00 or 01.
std::string LongPressFrameText(bool longPressTicked);

// The text the delay box is set to when its value exceeds 65535.
std::optional<std::string> CappedKeyDelayText(std::string_view delayText);

}  // namespace kestrova::settings
