#include "lean_hid_port.h"

#include <utility>

namespace kestrova::bench {

void LeanHidPort::Plug(Scripted scripted) {
  byPath_.emplace(scripted.listed.path, interfaces_.size());
  interfaces_.push_back(std::move(scripted));
}

std::vector<hid::HidInterface> LeanHidPort::EnumerateInterfaces() {
  // A copy, as a real port builds the list afresh on every run.
  std::vector<hid::HidInterface> listed;
  listed.reserve(interfaces_.size());
  for (const Scripted& scripted : interfaces_) listed.push_back(scripted.listed);
  return listed;
}

hid::DeviceHandle LeanHidPort::Open(const std::string& path, hid::OpenMode /*mode*/) {
  const auto found = byPath_.find(path);
  if (found == byPath_.end()) return hid::DeviceHandle::Failed(hid::OpenFailure::Other);
  const std::intptr_t native = nextNative_++;
  open_.emplace(native, found->second);
  ++opens_;
  return AdoptHandle(native);
}

const LeanHidPort::Scripted* LeanHidPort::Resolve(const hid::DeviceHandle& handle) const {
  if (!handle.valid()) return nullptr;
  const auto open = open_.find(handle.native());
  return open == open_.end() ? nullptr : &interfaces_[open->second];
}

std::optional<hid::DeviceIds> LeanHidPort::ReadAttributes(const hid::DeviceHandle& handle) {
  const Scripted* scripted = Resolve(handle);
  if (scripted == nullptr) return std::nullopt;
  return scripted->ids;
}

std::optional<std::uint16_t> LeanHidPort::ReadOutputReportLength(const hid::DeviceHandle& handle) {
  const Scripted* scripted = Resolve(handle);
  if (scripted == nullptr) return std::nullopt;
  return scripted->outputReportLength;
}

bool LeanHidPort::Write(const hid::DeviceHandle& handle, std::span<const std::uint8_t> report) {
  const Scripted* scripted = Resolve(handle);
  return scripted != nullptr && report.size() == scripted->outputReportLength;
}

bool LeanHidPort::CloseNative(std::intptr_t native) { return open_.erase(native) == 1; }

}  // namespace kestrova::bench
