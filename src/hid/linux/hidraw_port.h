#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <unordered_map>

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

  explicit HidrawPort(HidrawLocations locations = {}, std::chrono::milliseconds writeBound = kDefaultWriteBound);

  std::vector<HidInterface> EnumerateInterfaces() override;
  DeviceHandle Open(const std::string& path, OpenMode mode) override;
  std::optional<DeviceIds> ReadAttributes(const DeviceHandle& handle) override;
  std::optional<std::uint16_t> ReadOutputReportLength(const DeviceHandle& handle) override;
  // Waits at most the write bound; a report still pending then counts as not
  // written.
  bool Write(const DeviceHandle& handle, std::span<const std::uint8_t> report) override;

 private:
  // What a listing learnt of one HID device. Its IDs and report descriptor
  // never change while it exists, and its sysfs name, the target of
  // hidrawN/device, carries the kernel's count of HID devices, so no later
  // device has it: a device seen before need not be read again.
  struct KnownDevice {
    std::optional<DeviceIds> ids;
    bool keyboardOrMouseOnly = false;
  };

  bool CloseNative(std::intptr_t native) override;

  HidrawLocations locations_;
  // The devices of the last listing that were read in full, by node
  // number and device name.
  std::unordered_map<std::string, KnownDevice> known_;
  linux_hidraw::BoundedWriter writer_;
};

}  // namespace kestrova::hid
