// Frame text to output report. Checks: exactly L bytes with report ID 0;
// for texts of hexadecimal digits and blanks the bytes of a step-by-step
// reading (remove blanks, pad with "00" pairs up to the report, take the
// digits two by two); any other character is as if it were not there; the
// case of the letters does not matter.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "hid/report_encoding.h"

namespace {

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

std::uint8_t HexValue(std::string_view digits) {
  unsigned value = 0;
  for (const char c : digits) {
    const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  return static_cast<std::uint8_t>(value);
}

std::vector<std::uint8_t> StepByStep(std::string_view frameText, std::uint16_t length) {
  if (length == 0) return {};
  std::vector<std::uint8_t> report(length, 0);
  std::string digits;
  for (const char c : frameText) {
    if (c != ' ') digits += c;
  }
  const std::size_t n = digits.size();
  // n / 2 to the nearest whole number, halves to the even neighbour.
  std::size_t half = n / 2;
  if (n % 2 == 1 && half % 2 == 1) ++half;
  if (half < std::size_t{length} - 1) {
    for (std::size_t k = 0; k < length - 1u - half; ++k) digits += "00";
  }
  for (std::size_t i = 0; i + 1 < length; ++i) {
    const std::size_t first = 2 * i;
    report[i + 1] = HexValue(std::string_view(digits).substr(first, first + 1 < digits.size() ? 2 : 1));
  }
  return report;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // Mostly short reports, as devices declare them; now and then one of up
  // to 4095 bytes (the unit tests cover the 16-bit maximum itself).
  std::uint16_t length = data[1];
  if ((data[0] & 0x80) != 0) length = static_cast<std::uint16_t>((data[0] & 0x0F) << 8 | data[1]);
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  const std::vector<std::uint8_t> report = kestrova::hid::EncodeReport(text, length);
  FUZZ_CHECK(report.size() == length);
  if (length > 0) FUZZ_CHECK(report[0] == 0);

  std::string hexAndBlanks;
  std::string flippedCase;
  for (const char c : text) {
    if (IsHexDigit(c) || c == ' ') hexAndBlanks += c;
    flippedCase += (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') ? static_cast<char>(c ^ 0x20) : c;
  }
  FUZZ_CHECK(kestrova::hid::EncodeReport(hexAndBlanks, length) == report);
  FUZZ_CHECK(kestrova::hid::EncodeReport(flippedCase, length) == report);
  FUZZ_CHECK(StepByStep(hexAndBlanks, length) == report);
  return 0;
}
