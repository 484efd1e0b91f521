// The HexByte rule over every double (all bit patterns, NaN and infinity
// included) and over texts. The byte is compared with an integer-only
// reading of the double: round half to even, low 8 bits, two's complement.
#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "app/hex_byte.h"
#include "app/numeric_value.h"
#include "fuzz_check.h"

namespace {

bool IsUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

int DigitValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

// A finite double is mantissa x 2^exponent with a 53-bit integer mantissa;
// the low bits of the rounded value follow from those two integers alone.
template <typename Unsigned>
Unsigned ReferenceLowBits(double value) {
  constexpr int kBits = sizeof(Unsigned) * 8;
  const double rounded = std::nearbyint(value);  // the default mode: to nearest, ties to even
  int exponent = 0;
  const double fraction = std::frexp(std::fabs(rounded), &exponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int shift = exponent - 53;  // rounded == mantissa * 2^shift
  std::uint64_t magnitude = 0;
  if (shift >= 0) {
    magnitude = shift >= kBits ? 0 : mantissa << shift;
  } else {
    magnitude = shift <= -64 ? 0 : mantissa >> -shift;  // exact: rounded is an integer
  }
  const std::uint64_t bits = rounded < 0 ? ~magnitude + 1 : magnitude;
  return static_cast<Unsigned>(bits);
}

void CheckByte(double value) {
  const std::optional<std::string> hex = kestrova::HexByte(value);
  if (!std::isfinite(value)) {
    FUZZ_CHECK(!hex);
    FUZZ_CHECK(!kestrova::LowByte(value) && !kestrova::LowWord(value));
    return;
  }
  FUZZ_CHECK(hex && hex->size() == 2 && IsUpperHexDigit((*hex)[0]) && IsUpperHexDigit((*hex)[1]));
  const int shown = DigitValue((*hex)[0]) * 16 + DigitValue((*hex)[1]);
  FUZZ_CHECK(shown == ReferenceLowBits<std::uint8_t>(value));
  FUZZ_CHECK(kestrova::LowByte(value) == ReferenceLowBits<std::uint8_t>(value));
  FUZZ_CHECK(kestrova::LowWord(value) == ReferenceLowBits<std::uint16_t>(value));
  FUZZ_CHECK(kestrova::RoundHalfEven(value) == std::nearbyint(value));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::fesetround(FE_TONEAREST);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size >= sizeof(double)) {
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    CheckByte(value);
    // Values near the halves, where rounding decides.
    CheckByte(std::trunc(value) + 0.5);
    CheckByte(std::trunc(value) - 0.5);
  }
  // The text form: the byte of the number that the text spells.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto number = kestrova::LeadingNumber(text);
  const auto fromText = kestrova::HexByte(text);
  if (!number) {
    FUZZ_CHECK(!fromText);
  } else {
    FUZZ_CHECK(fromText == kestrova::HexByte(*number));
  }
  return 0;
}
