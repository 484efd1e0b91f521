#include "hid/wanted_id.h"

#include "app/hex_digit.h"

namespace kestrova::hid {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<std::uint16_t> ParseWantedId(std::string_view text) {
  const std::string_view digits = Trimmed(text);
  if (digits.empty()) return std::nullopt;
  unsigned value = 0;
  for (const char c : digits) {
    const auto digit = HexDigitValue(c);
    if (!digit) return std::nullopt;
    value = value << 4 | unsigned{*digit};
    // Checked per digit, so a long text of leading zeros is fine and no
    // text can overflow.
    if (value > 0xFFFF) return std::nullopt;
  }
  return static_cast<std::uint16_t>(value);
}

WantedIds WantedIds::Parse(std::string_view vendorText, std::string_view productText) {
  return {ParseWantedId(vendorText), ParseWantedId(productText)};
}

}  // namespace kestrova::hid
