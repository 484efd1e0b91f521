#pragma once

#include <array>
#include <span>
#include <string_view>

#include "app/twips.h"

namespace kestrova {

enum class ControlKind { Frame, Label, Button, ComboBox, TextBox, ListBox, CheckBox, OptionButton };

enum class FontFace {
  Window,   // the window's own font: "宋体" 10.5 pt
  YaHei,    // "微软雅黑"
  SongTi,   // "宋体"
  NSimSun,  // "新宋体"
};

struct FontSpec {
  FontFace face = FontFace::Window;
  double points = 10.5;
  bool bold = false;
};

// Colours named by role so they follow the desktop's colour scheme.
enum class ColourRole {
  Default,           // the toolkit's own
  HighlightText,     // white in the default scheme
  WindowText,        // black
  WindowBackground,  // white
  Green,             // red 0, green 128, blue 0
  White,
};

struct ControlSpec {
  std::string_view name;
  ControlKind kind;
  std::string_view parent;  // "" for the window itself
  std::string_view caption;
  TwipsRect rect;
  FontSpec font;
  ColourRole back = ColourRole::Default;
  ColourRole text = ColourRole::Default;
  bool visible = true;
  bool enabled = true;
  bool graphical = false;  // a command button that shows its back colour
  bool checked = false;    // start state of a check box or option button
};

constexpr TwipsRect kWindowClientTwips{0, 0, 12135, 5415};
constexpr FontSpec kWindowFont{FontFace::SongTi, 10.5, false};

// Every control of the window except the key buttons, parents before children.
std::span<const ControlSpec> WindowControls();

// The controls besides the key buttons that need the device, in the order
// they are enabled and disabled.
constexpr std::array<std::string_view, 15> kDeviceControls = {
    "Command_shift",  "Command_ctrl",  "Command_alt",   "Command_win",      "Command_shift_r",
    "Command_ctrl_r", "Command_alt_r", "Command_win_r", "Command1",         "Iwrite",
    "Command_L_btn",  "Command_M_btn", "Command_R_btn", "Command_auto_run", "Command2",
};

}  // namespace kestrova
