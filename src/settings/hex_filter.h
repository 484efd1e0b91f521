#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrova::settings {

constexpr std::string_view kNotHexMessage = "请输入的数据是16进制的范围";

// Hexadecimal digits of either case and the blank are allowed in frame text.
bool IsFrameTextCharacter(char32_t c);

// The first character that is not allowed, if any.
std::optional<char32_t> FirstOffendingCharacter(std::u32string_view text);

// The text without any occurrence of c.
std::u32string RemoveCharacter(std::u32string_view text, char32_t c);

}  // namespace kestrova::settings
