#pragma once

#include <optional>
#include <string>

namespace kestrova::sim {

// The /dev/hidrawN node of the HID device whose unique ID is `uniq`, once
// both its sysfs entry and its device node exist.
std::optional<std::string> FindHidrawNode(const std::string& uniq,
                                          const std::string& sysfsClassDir = "/sys/class/hidraw",
                                          const std::string& devDir = "/dev");

}  // namespace kestrova::sim
