#include "app/numeric_value.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "app/hex_digit.h"

namespace kestrova {
namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Walks the text, hiding the characters that the rule skips.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) { SkipBlanks(); }
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  void Advance() {
    ++pos_;
    SkipBlanks();
  }

 private:
  void SkipBlanks() {
    while (pos_ < text_.size() && IsSkipped(text_[pos_])) ++pos_;
  }
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::optional<double> RadixNumber(Cursor& cursor, int radix) {
  double value = 0;
  bool any = false;
  for (;;) {
    const auto digit = HexDigitValue(cursor.Peek());
    if (!digit || *digit >= radix) break;
    value = value * radix + *digit;
    any = true;
    cursor.Advance();
  }
  if (!any) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> LeadingNumber(std::string_view text) {
  Cursor cursor(text);
  if (cursor.Peek() == '&') {
    cursor.Advance();
    const char kind = cursor.Peek();
    if (kind == 'h' || kind == 'H') {
      cursor.Advance();
      return RadixNumber(cursor, 16);
    }
    if (kind == 'o' || kind == 'O') {
      cursor.Advance();
      return RadixNumber(cursor, 8);
    }
    return std::nullopt;
  }

  // Collect the number without its blanks, then let from_chars do the
  // correctly rounded conversion (strtod would follow the process locale).
  std::string digits;
  bool negative = false;
  if (cursor.Peek() == '+' || cursor.Peek() == '-') {
    negative = cursor.Peek() == '-';
    cursor.Advance();
  }
  bool mantissa = false;
  long long integerDigits = 0;
  bool seenNonZero = false;
  while (IsDigit(cursor.Peek())) {
    if (cursor.Peek() != '0' || seenNonZero) {
      seenNonZero = true;
      ++integerDigits;
    }
    digits += cursor.Peek();
    mantissa = true;
    cursor.Advance();
  }
  if (cursor.Peek() == '.') {
    digits += '.';
    cursor.Advance();
    while (IsDigit(cursor.Peek())) {
      digits += cursor.Peek();
      mantissa = true;
      cursor.Advance();
    }
  }
  if (!mantissa) return std::nullopt;

  long long exponent = 0;
  if (cursor.Peek() == 'e' || cursor.Peek() == 'E') {
    Cursor afterMarker = cursor;
    afterMarker.Advance();
    bool expNegative = false;
    if (afterMarker.Peek() == '+' || afterMarker.Peek() == '-') {
      expNegative = afterMarker.Peek() == '-';
      afterMarker.Advance();
    }
    if (IsDigit(afterMarker.Peek())) {
      constexpr long long kSaturated = 1'000'000'000;
      while (IsDigit(afterMarker.Peek())) {
        if (exponent < kSaturated) exponent = exponent * 10 + (afterMarker.Peek() - '0');
        afterMarker.Advance();
      }
      if (expNegative) exponent = -exponent;
      digits += 'e';
      digits += std::to_string(exponent);
    }
  }

  double value = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // from_chars leaves the value alone on overflow and underflow.
    const bool overflow = integerDigits + exponent > 0;
    value = overflow ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

double NumericValue(std::string_view text) { return LeadingNumber(text).value_or(0.0); }

std::string ShortestDecimal(double value) {
  if (value == 0) return "0";  // also for -0
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace kestrova
