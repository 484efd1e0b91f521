#pragma once

#include <string>
#include <string_view>

namespace kestrova::settings {

// "AA 01 7C RR PP 00 00": RR 79 for power-on run, PP 01 for loop play.
std::string PlaybackFrameText(bool powerOnRun, bool loopPlay);

constexpr std::string_view kPowerOnRunMessage = "键鼠控制器上电自动运行存储的键值！";
constexpr std::string_view kNoPowerOnRunMessage = "键鼠控制器上电不自动运行！";
constexpr std::string_view kSinglePlayMessage = "单次播放！";
constexpr std::string_view kLoopPlayMessage = "循环播放！";

}  // namespace kestrova::settings
