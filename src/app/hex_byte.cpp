#include "app/hex_byte.h"

#include <cmath>

#include "app/numeric_value.h"

namespace kestrova {
namespace {

std::optional<double> LowBits(double value, double modulus) {
  if (!std::isfinite(value)) return std::nullopt;
  // fmod is exact for doubles, so this is the true residue even far beyond
  // the range of any integer type.
  double residue = std::fmod(RoundHalfEven(value), modulus);
  if (residue < 0) residue += modulus;
  return residue;
}

}  // namespace

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  const double floor = std::floor(value);
  const double fraction = value - floor;
  if (fraction > 0.5) return floor + 1;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

std::optional<std::uint8_t> LowByte(double value) {
  const auto bits = LowBits(value, 256.0);
  if (!bits) return std::nullopt;
  return static_cast<std::uint8_t>(*bits);
}

std::optional<std::uint16_t> LowWord(double value) {
  const auto bits = LowBits(value, 65536.0);
  if (!bits) return std::nullopt;
  return static_cast<std::uint16_t>(*bits);
}

std::string HexDigits(std::uint8_t byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

std::optional<std::string> HexByte(double value) {
  const auto byte = LowByte(value);
  if (!byte) return std::nullopt;
  return HexDigits(*byte);
}

std::optional<std::string> HexByte(std::string_view decimalText) {
  const auto value = LeadingNumber(decimalText);
  if (!value) return std::nullopt;
  return HexByte(*value);
}

}  // namespace kestrova
