#include "hid/report_encoding.h"

#include <cstddef>

#include "app/hex_digit.h"

namespace kestrova::hid {
namespace {

// n / 2 to the nearest whole number, a half going to the even neighbour.
std::size_t HalfRoundedToEven(std::size_t n) {
  const std::size_t floor = n / 2;
  if (n % 2 == 0) return floor;
  return floor % 2 == 0 ? floor : floor + 1;
}

}  // namespace

std::vector<std::uint8_t> EncodeReport(std::string_view frameText, std::uint16_t reportLength) {
  if (reportLength == 0) return {};
  const std::size_t frameBytes = reportLength - std::size_t{1};

  // Only the first 2 x frameBytes digits can reach the report, but all of
  // them count for the rounding, so count the rest without keeping it.
  std::vector<std::uint8_t> digits;
  digits.reserve(2 * frameBytes);
  std::size_t digitCount = 0;
  for (const char c : frameText) {
    const auto value = HexDigitValue(c);
    if (!value) continue;
    if (digits.size() < 2 * frameBytes) digits.push_back(*value);
    ++digitCount;
  }

  // The appended "00" pairs and the bytes the text does not reach are both
  // zero digits; the only thing the padding decides is whether the digit
  // string ends right after a lone last digit.
  const std::size_t statedBytes = HalfRoundedToEven(digitCount);
  const std::size_t paddedLength = digitCount + (statedBytes < frameBytes ? 2 * (frameBytes - statedBytes) : 0);

  std::vector<std::uint8_t> report(reportLength, 0x00);
  for (std::size_t i = 0; i < frameBytes; ++i) {
    const std::size_t high = 2 * i;
    const std::size_t low = high + 1;
    const std::uint8_t highDigit = high < digits.size() ? digits[high] : 0;
    if (low < paddedLength) {
      const std::uint8_t lowDigit = low < digits.size() ? digits[low] : 0;
      report[i + 1] = static_cast<std::uint8_t>(highDigit << 4 | lowDigit);
    } else {
      report[i + 1] = highDigit;
    }
  }
  return report;
}

}  // namespace kestrova::hid
