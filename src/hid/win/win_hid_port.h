#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hid/hid_port.h"
#include "hid/win/bounded_write.h"

namespace kestrova::hid::win {

// The HID port on the Win32 device-setup and HID services.
class WinHidPort final : public HidPort {
 public:
  WinHidPort() = default;
  explicit WinHidPort(BoundedWriter::Timing writeTiming) : writer_(writeTiming) {}

  std::vector<HidInterface> EnumerateInterfaces() override;
  DeviceHandle Open(const std::string& path, OpenMode mode) override;
  std::optional<DeviceIds> ReadAttributes(const DeviceHandle& handle) override;
  std::optional<std::uint16_t> ReadOutputReportLength(const DeviceHandle& handle) override;
  bool Write(const DeviceHandle& handle, std::span<const std::uint8_t> report) override;

 private:
  bool CloseNative(std::intptr_t native) override;

  BoundedWriter writer_;
};

}  // namespace kestrova::hid::win
