#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/twips.h"

namespace kestrova::keys {

// The faces the key captions are drawn in.
enum class FontClass {
  YaHei9,       // "微软雅黑" 9 pt
  YaHei6_75,    // "微软雅黑" 6.75 pt
  YaHei7_5,     // "微软雅黑" 7.5 pt
  YaHeiUi6_75,  // "Microsoft YaHei UI" 6.75 pt
  Window,       // the window's own font
};

struct KeySpec {
  int index;
  std::string_view caption;
  std::string_view code;  // HID usage (keyboard page) in decimal; empty for the spare key
  std::uint8_t usage;     // the same usage, as the HID usage tables number it
  TwipsRect rect;         // inside the keyboard panel, or the window for hidden keys
  FontClass font;
  bool shown;
};

constexpr int kKeyButtonCount = 98;
constexpr int kKeyCodeTableSize = 101;
constexpr int kSpareKeyIndex = 79;  // has no code and is never shown

// One row per on-screen key button, by index.
const std::array<KeySpec, kKeyButtonCount>& KeyTable();

// The 101 code texts, indexed by key index; entries without a key stay empty.
std::array<std::string, kKeyCodeTableSize> BuildKeyCodeTable();

}  // namespace kestrova::keys
