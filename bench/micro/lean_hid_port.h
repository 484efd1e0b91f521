#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "hid/hid_port.h"

namespace kestrova::bench {

// An in-memory HID port without a call log: what a discovery run costs in
// DeviceLink itself, apart from the bookkeeping the test fake does.
class LeanHidPort final : public hid::HidPort {
 public:
  struct Scripted {
    hid::HidInterface listed;
    hid::DeviceIds ids;  // what reading the attributes of an open handle gives
    std::uint16_t outputReportLength = 9;
  };

  void Plug(Scripted scripted);
  std::size_t openHandleCount() const { return open_.size(); }
  std::size_t opensSoFar() const { return opens_; }

  std::vector<hid::HidInterface> EnumerateInterfaces() override;
  hid::DeviceHandle Open(const std::string& path, hid::OpenMode mode) override;
  std::optional<hid::DeviceIds> ReadAttributes(const hid::DeviceHandle& handle) override;
  std::optional<std::uint16_t> ReadOutputReportLength(const hid::DeviceHandle& handle) override;
  bool Write(const hid::DeviceHandle& handle, std::span<const std::uint8_t> report) override;

 private:
  bool CloseNative(std::intptr_t native) override;
  const Scripted* Resolve(const hid::DeviceHandle& handle) const;

  std::vector<Scripted> interfaces_;
  std::unordered_map<std::string, std::size_t> byPath_;
  std::unordered_map<std::intptr_t, std::size_t> open_;  // native handle -> interface
  std::intptr_t nextNative_ = 1;
  std::size_t opens_ = 0;
};

}  // namespace kestrova::bench
