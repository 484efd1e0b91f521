#pragma once

#include <optional>
#include <string_view>

namespace kestrova::hid {

// The device is there but the user may not open it: a permissions problem
// that would otherwise look like "no device". Said once per episode, and only
// once the denial has outlasted the moment after a plug-in in which udev has
// not yet set the node's permissions.
class AccessDeniedNotice {
 public:
  // Consecutive denied discovery runs before the line is logged: four runs
  // of the 350 ms timer span just over a second.
  static constexpr int kRunsBeforeNotice = 4;
  static constexpr std::string_view kMessage =
      "检测到设备，但没有访问权限！请安装 udev 规则 70-kestrova.rules（或以有权限的用户运行），然后重新插入设备。";

  // After each discovery run: accessDenied when the wanted device was present
  // but refused to open and was not found otherwise. Returns the line to log
  // when the episode has just lasted long enough.
  std::optional<std::string_view> AfterDiscoveryRun(bool accessDenied);

 private:
  int deniedRuns_ = 0;
};

}  // namespace kestrova::hid
