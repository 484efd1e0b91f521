#pragma once

#include <filesystem>
#include <string>

#include "hid/linux/hidraw_port.h"

namespace kestrova::leak {

// A throw-away directory shaped like sysfs's hidraw class and /dev, so the
// real Linux backend can enumerate, open and close over it. Plain files
// stand in for the device nodes: they open, but answer no hidraw ioctl.
class FakeSysfsTree {
 public:
  FakeSysfsTree();
  FakeSysfsTree(const FakeSysfsTree&) = delete;
  FakeSysfsTree& operator=(const FakeSysfsTree&) = delete;
  ~FakeSysfsTree();

  // hidrawN with the given HID_ID fields and a vendor collection that has
  // an eight-byte output report.
  void Plug(unsigned number, const std::string& hidId);
  void Unplug(unsigned number);

  hid::HidrawLocations locations() const;

 private:
  std::filesystem::path root_;
};

}  // namespace kestrova::leak
