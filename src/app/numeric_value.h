#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

// The number a control's text begins with: blanks, tabs and line feeds are
// skipped anywhere inside it; a sign, decimal digits, an optional fraction and
// exponent, or &H hexadecimal / &O octal digits. nullopt when the text begins
// with no number at all. Values beyond the range of double come out as
// +/-infinity (decimal) so that callers can refuse them instead of wrapping.
std::optional<double> LeadingNumber(std::string_view text);

// LeadingNumber, with 0 for a text that begins with no number.
double NumericValue(std::string_view text);

// Shortest decimal text that reads back as the same value ("2", "1.5", "-3").
std::string ShortestDecimal(double value);

}  // namespace kestrova
