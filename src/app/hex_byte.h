#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// Nearest integer, an exact half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// Low 8 / 16 bits of the rounded value, negative values in two's complement.
// nullopt for infinity and NaN, which have no integer to take bits from.
std::optional<std::uint8_t> LowByte(double value);
std::optional<std::uint16_t> LowWord(double value);

// Two upper-case hexadecimal digits.
std::string HexDigits(std::uint8_t byte);

// The byte of a frame: round, keep the low 8 bits, two upper-case digits.
std::optional<std::string> HexByte(double value);
// A decimal text such as a key code ("58") is read as the number it spells;
// a text that spells no number has no byte.
std::optional<std::string> HexByte(std::string_view decimalText);

}  // namespace kestrova
