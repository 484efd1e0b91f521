#include "hid/hid_port.h"

#include <utility>

namespace kestrova::hid {

DeviceHandle::DeviceHandle(DeviceHandle&& other) noexcept
    : port_(std::exchange(other.port_, nullptr)), native_(std::exchange(other.native_, 0)), failure_(other.failure_) {}

DeviceHandle& DeviceHandle::operator=(DeviceHandle&& other) noexcept {
  if (this != &other) {
    Close();
    port_ = std::exchange(other.port_, nullptr);
    native_ = std::exchange(other.native_, 0);
    failure_ = other.failure_;
  }
  return *this;
}

DeviceHandle::~DeviceHandle() { Close(); }

bool DeviceHandle::Close() {
  if (port_ == nullptr) return false;
  HidPort* port = std::exchange(port_, nullptr);
  failure_ = OpenFailure::Other;
  return port->CloseNative(std::exchange(native_, 0));
}

}  // namespace kestrova::hid
