#include "app/control_layout.h"

namespace kestrova {
namespace {

using K = ControlKind;
using C = ColourRole;
constexpr FontSpec kWin{};
constexpr FontSpec YaHei(double points) { return {FontFace::YaHei, points, false}; }
constexpr ColourRole HT = C::HighlightText;
constexpr ColourRole WT = C::WindowText;
constexpr ColourRole WB = C::WindowBackground;
constexpr ColourRole D = C::Default;

// name, kind, parent, caption, {left, top, width, height}, font, back, text,
// visible, enabled, graphical, checked
constexpr ControlSpec kControls[] = {
    {"Frame2", K::Frame, "", "", {0, 0, 12375, 975}, kWin, HT},
    {"Label3", K::Label, "Frame2", "请插入设备！", {120, 140, 2160, 465}, YaHei(18), HT, C::Green},
    {"Label6", K::Label, "Frame2", "开关选择:", {2520, 260, 1020, 315}, YaHei(12), HT},
    {"Combo1", K::ComboBox, "Frame2", "1", {3600, 240, 540, 330}, kWin},
    {"Label7", K::Label, "Frame2", "(默认为'1')", {4180, 260, 1335, 375}, YaHei(12), WB, WT},
    {"Frame5", K::Frame, "Frame2", "", {5420, 80, 2535, 600}, kWin, HT},
    {"Check1", K::CheckBox, "Frame5", "长按无效", {100, 200, 1300, 315}, YaHei(12), HT},
    {"Iwrite", K::Button, "Frame5", "手动写入", {1480, 140, 960, 400}, YaHei(10.5), HT, D, true, true, true},
    {"Frame1", K::Frame, "Frame2", "", {8100, 80, 1660, 600}, kWin, HT, D, false},
    {"Label5", K::Label, "Frame1", "延时:", {60, 200, 465, 300}, YaHei(10.5), WB, WT},
    {"Text_delay", K::TextBox, "Frame1", "0", {600, 140, 615, 420}, YaHei(10.5)},
    {"Label8", K::Label, "Frame1", "ms", {1260, 160, 285, 300}, YaHei(10.5), HT},
    {"Frame3", K::Frame, "Frame2", "鼠标按键", {9900, 0, 2180, 700}, YaHei(10.5), HT},
    {"Command_L_btn", K::Button, "Frame3", "左键", {120, 300, 560, 300}, YaHei(10.5), HT, D, true, true, true},
    {"Command_M_btn", K::Button, "Frame3", "中键", {820, 300, 560, 300}, YaHei(10.5), HT, D, true, true, true},
    {"Command_R_btn", K::Button, "Frame3", "右键", {1500, 300, 560, 300}, YaHei(10.5), HT, D, true, true, true},
    {"FrameKeyBoard", K::Frame, "", "", {60, 740, 12020, 3585}, kWin, WT, WT},
    {"Command_shift", K::Button, "FrameKeyBoard", "Shift", {120, 2430, 1230, 500}, YaHei(9), D, D, true, true, true},
    {"Command_ctrl", K::Button, "FrameKeyBoard", "Ctrl", {120, 2960, 650, 500}, YaHei(9), D, D, true, true, true},
    {"Command_win", K::Button, "FrameKeyBoard", "Win", {790, 2960, 650, 500}, YaHei(9), D, D, true, true, true},
    {"Command_alt", K::Button, "FrameKeyBoard", "Alt", {1460, 2960, 650, 500}, YaHei(9), D, D, true, true, true},
    {"Command_alt_r", K::Button, "FrameKeyBoard", "Alt", {5280, 2960, 650, 500}, YaHei(9), D, D, true, true, true},
    {"Command_win_r", K::Button, "FrameKeyBoard", "Win", {5950, 2960, 650, 500}, YaHei(9), D, D, true, true, true},
    {"Command_shift_r", K::Button, "FrameKeyBoard", "Shift", {6580, 2430, 1325, 500}, YaHei(9), D, D, true, true, true},
    {"Command_ctrl_r", K::Button, "FrameKeyBoard", "Ctrl", {7280, 2960, 630, 500}, YaHei(9), D, D, true, true, true},
    // The caption is the configured shop name; the window sets it.
    {"Label11", K::Label, "FrameKeyBoard", "", {9900, 240, 2055, 375}, YaHei(10.5), WT, C::White},
    {"Label4", K::Label, "", "状态信息：", {120, 4400, 900, 260}, YaHei(10.5), HT},
    {"lstResults", K::ListBox, "", "", {1170, 4395, 10905, 930}, YaHei(10.5)},
    {"Clear", K::Button, "", "清除信息", {60, 4920, 1000, 360}, YaHei(10.5), HT, D, true, true, true},
    // Beyond the right edge of the client area, or hidden: used by the
    // commands from code.
    {"TextIW", K::TextBox, "", "aa 01 00 00 3C 00 00", {12960, 3960, 2895, 495}, kWin, D, D, true, false},
    {"contion", K::Button, "", "连接设备", {12840, 3000, 1455, 855}, {FontFace::SongTi, 12, false}},
    {"Frame4", K::Frame, "", "参数设置", {12840, 1920, 3255, 975}, kWin, D, D, false},
    {"Command_auto_run", K::Button, "Frame4", "上电自动运行", {120, 360, 1455, 375}, kWin, D, D, true, true, true},
    {"Option2", K::OptionButton, "Frame4", "循环播放", {1800, 240, 1335, 255}, kWin, D, D, true, true, false, true},
    {"Option1", K::OptionButton, "Frame4", "单次播放", {1800, 600, 1215, 255}, kWin},
    {"Command1", K::Button, "", "清除设备键值", {12840, 4800, 1455, 375}, kWin, D, D, false},
    {"Command2", K::Button, "", "确定", {14520, 4680, 1095, 375}, kWin, D, D, false},
    {"Label1", K::Label, "", "VID", {13560, 240, 495, 285}, {FontFace::NSimSun, 14.25, true}, D, WT, false},
    {"TextVID", K::TextBox, "", "2704", {14160, 240, 855, 375}, kWin, D, D, false},
    {"Label2", K::Label, "", "PID", {13560, 720, 495, 285}, {FontFace::NSimSun, 14.25, true}, D, WT, false},
    {"TextPID", K::TextBox, "", "2018", {14160, 720, 855, 375}, kWin, D, D, false},
};

}  // namespace

std::span<const ControlSpec> WindowControls() { return kControls; }

}  // namespace kestrova
