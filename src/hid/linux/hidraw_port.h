#pragma once

#include <chrono>
#include <string>

#include "hid/hid_port.h"
#include "hid/linux/bounded_writer.h"

namespace kestrova::hid {

// Where the port looks; tests point both at a temporary tree.
struct HidrawLocations {
  std::string sysfsClassDir = "/sys/class/hidraw";
  std::string deviceDir = "/dev";
};

// The HID port of Linux: interfaces from sysfs, reports through /dev/hidrawN.
class HidrawPort final : public HidPort {
 public:
  static constexpr std::chrono::milliseconds kDefaultWriteBound{250};

  explicit HidrawPort(HidrawLocations locations = {},
                      std::chrono::milliseconds writeBound = kDefaultWriteBound);

  std::vector<HidInterface> EnumerateInterfaces() override;
  DeviceHandle Open(const std::string& path, OpenMode mode) override;
  std::optional<DeviceIds> ReadAttributes(const DeviceHandle& handle) override;
  std::optional<std::uint16_t> ReadOutputReportLength(const DeviceHandle& handle) override;
  // Waits at most the write bound; a report still pending then counts as not
  // written.
  bool Write(const DeviceHandle& handle, std::span<const std::uint8_t> report) override;

 private:
  bool CloseNative(std::intptr_t native) override;

  HidrawLocations locations_;
  linux_hidraw::BoundedWriter writer_;
};

}  // namespace kestrova::hid
