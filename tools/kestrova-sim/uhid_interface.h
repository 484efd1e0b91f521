#pragma once

#include <linux/uhid.h>

#include <cstdint>
#include <span>
#include <string>

namespace kestrova::sim {

struct DeviceIdentity {
  std::string name;
  std::string phys;
  // Unique per interface, so its hidraw node can be found in sysfs: the
  // kernel's numbering of the nodes does not follow the creation order.
  std::string uniq;
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
};

// One HID device on the kernel's uhid: one open /dev/uhid file each.
// Closing the file removes the device.
class UhidInterface {
 public:
  UhidInterface() = default;
  UhidInterface(const UhidInterface&) = delete;
  UhidInterface& operator=(const UhidInterface&) = delete;
  UhidInterface(UhidInterface&& other) noexcept;
  UhidInterface& operator=(UhidInterface&& other) noexcept;
  ~UhidInterface();

  // Each returns false and leaves errno's text in `error` on failure.
  bool Open(const std::string& uhidPath, std::string& error);
  bool Create(const DeviceIdentity& identity, std::span<const std::uint8_t> descriptor, std::string& error);
  bool Destroy(std::string& error);
  // Blocks until the kernel has an event (poll fd() first).
  bool ReadEvent(uhid_event& event, std::string& error);
  // Answers a report request that this device does not support, so the
  // requester is not left waiting for the kernel's timeout.
  bool RefuseGetReport(std::uint32_t requestId, std::string& error);
  bool RefuseSetReport(std::uint32_t requestId, std::string& error);

  int fd() const { return fd_; }
  bool created() const { return created_; }

 private:
  bool Send(const uhid_event& event, std::string& error);

  int fd_ = -1;
  bool created_ = false;
};

}  // namespace kestrova::sim
