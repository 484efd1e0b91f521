#include "settings/hex_filter.h"

#include <algorithm>

namespace kestrova::settings {

bool IsFrameTextCharacter(char32_t c) {
  return (c >= U'0' && c <= U'9') || (c >= U'a' && c <= U'f') || (c >= U'A' && c <= U'F') || c == U' ';
}

std::optional<char32_t> FirstOffendingCharacter(std::u32string_view text) {
  const auto it = std::find_if_not(text.begin(), text.end(), IsFrameTextCharacter);
  if (it == text.end()) return std::nullopt;
  return *it;
}

std::u32string RemoveCharacter(std::u32string_view text, char32_t c) {
  std::u32string result;
  result.reserve(text.size());
  std::copy_if(text.begin(), text.end(), std::back_inserter(result), [c](char32_t x) { return x != c; });
  return result;
}

}  // namespace kestrova::settings
