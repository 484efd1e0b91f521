// The numeric value of a control's text. Checks: never NaN; blanks, tabs
// and line feeds never change the value, wherever they stand; a sign in
// front negates; an integer written in decimal, &H or &O reads back exactly;
// and a text of the decimal grammar alone agrees with the C library.
#include <cerrno>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "app/numeric_value.h"
#include "fuzz_check.h"

namespace {

using kestrova::LeadingNumber;
using kestrova::NumericValue;

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

bool SameValue(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

std::string WithoutBlanks(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (!IsSkipped(c)) out += c;
  }
  return out;
}

// strtod reads the same decimal grammar (without blanks) when the text has
// no letters that would start its hexadecimal, infinity or NaN forms.
bool DecimalGrammarOnly(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789.eE+-") == std::string_view::npos;
}

void CheckAgainstStrtod(const std::string& text) {
  const double ours = NumericValue(text);
  errno = 0;
  char* end = nullptr;
  const double theirs = std::strtod(text.c_str(), &end);
  if (end == text.c_str()) {
    FUZZ_CHECK(!LeadingNumber(text));
    return;
  }
  // Below the normal range the answer may be 0 instead of a subnormal; no
  // control of the window can tell the two apart.
  if (std::fabs(theirs) < DBL_MIN) {
    FUZZ_CHECK(ours == 0 || ours == theirs);
    return;
  }
  FUZZ_CHECK(ours == theirs);
}

// An integer below 2^53 in the three spellings, blanks sprinkled in and a
// tail that cannot continue the number.
void CheckIntegerSpellings(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return;
  std::uint64_t raw = 0;
  std::memcpy(&raw, data, sizeof raw);
  const bool negative = (raw >> 63) != 0;
  const std::uint64_t magnitude = raw & ((std::uint64_t{1} << 53) - 1);
  const auto sprinkle = [&](const std::string& number) {
    std::string text;
    for (std::size_t i = 0; i < number.size(); ++i) {
      const std::uint8_t pick = 8 + i < size ? data[8 + i] : 0;
      if (pick % 7 == 1) text += ' ';
      if (pick % 7 == 2) text += '\t';
      if (pick % 7 == 3) text += '\n';
      text += number[i];
    }
    return text + "x9";
  };
  char digits[32];
  std::snprintf(digits, sizeof digits, "%s%llu", negative ? "-" : "", static_cast<unsigned long long>(magnitude));
  const double expected = negative ? -static_cast<double>(magnitude) : static_cast<double>(magnitude);
  FUZZ_CHECK(NumericValue(sprinkle(digits)) == expected);
  std::snprintf(digits, sizeof digits, "&H%llX", static_cast<unsigned long long>(magnitude));
  FUZZ_CHECK(NumericValue(sprinkle(digits)) == static_cast<double>(magnitude));
  std::snprintf(digits, sizeof digits, "&o%llo", static_cast<unsigned long long>(magnitude));
  FUZZ_CHECK(NumericValue(sprinkle(digits)) == static_cast<double>(magnitude));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto leading = LeadingNumber(text);
  const double value = NumericValue(text);
  FUZZ_CHECK(!std::isnan(value));
  FUZZ_CHECK(leading ? SameValue(*leading, value) : value == 0);

  const std::string compact = WithoutBlanks(text);
  FUZZ_CHECK(SameValue(NumericValue(compact), value));
  if (!compact.empty() && ((compact[0] >= '0' && compact[0] <= '9') || compact[0] == '.')) {
    FUZZ_CHECK(NumericValue("-" + compact) == -value);
  }
  if (DecimalGrammarOnly(compact)) CheckAgainstStrtod(compact);
  CheckIntegerSpellings(data, size);
  return 0;
}
