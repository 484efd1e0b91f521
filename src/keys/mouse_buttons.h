#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova::keys {

struct MouseButton {
  std::string_view control;
  std::string_view caption;
  double code;               // button bit of a boot mouse report
  std::string_view logText;  // what the status line says after the switch number
};

constexpr std::array<MouseButton, 3> kMouseButtons = {{
    {"Command_L_btn", "左键", 1, " > 写入鼠标 < 左键单击 > "},
    {"Command_M_btn", "中键", 4, " > 写入鼠标 < 中键单击 > "},
    {"Command_R_btn", "右键", 2, " > 写入鼠标 < 右键单击 > "},
}};

// "aa 02 <slot> FE <button> 00 00"; nullopt when the switch number has no
// integer value.
std::optional<std::string> MouseFrameText(double switchNumber, double buttonCode);

// "成功在开关 < n" followed by the button's log text.
std::string MouseAssignedMessage(double switchNumber, const MouseButton& button);

}  // namespace kestrova::keys
