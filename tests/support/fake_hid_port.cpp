#include "fake_hid_port.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "app/hex_byte.h"

namespace kestrova::testing {
namespace {

const char* ModeName(hid::OpenMode mode) { return mode == hid::OpenMode::ReadWrite ? "rw" : "overlapped"; }

std::string HandleName(std::intptr_t native) { return "#" + std::to_string(native); }

}  // namespace

std::string HexBytes(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (const std::uint8_t byte : bytes) {
    if (!text.empty()) text += ' ';
    text += HexDigits(byte);
  }
  return text;
}

FakeInterface& FakeHidPort::Plug(FakeInterface scripted) {
  plugged_.push_back({nextPlugId_++, std::move(scripted)});
  return plugged_.back().scripted;
}

void FakeHidPort::Unplug(const std::string& path) {
  plugged_.remove_if([&](const Plugged& entry) { return entry.scripted.path == path; });
}

FakeInterface& FakeHidPort::interfaceAt(const std::string& path) {
  Plugged* entry = Find(path);
  if (entry == nullptr) throw std::out_of_range("no interface plugged at " + path);
  return entry->scripted;
}

std::vector<std::string> FakeHidPort::TakeCalls() { return std::exchange(calls_, {}); }

std::vector<hid::HidInterface> FakeHidPort::EnumerateInterfaces() {
  calls_.push_back("enumerate");
  std::vector<hid::HidInterface> listed;
  for (const Plugged& entry : plugged_) {
    const FakeInterface& scripted = entry.scripted;
    listed.push_back({scripted.path, scripted.idsWithoutOpening, scripted.keyboardOrMouseOnly});
  }
  return listed;
}

hid::DeviceHandle FakeHidPort::Open(const std::string& path, hid::OpenMode mode) {
  const std::string call = "open " + path + " " + ModeName(mode);
  const Plugged* entry = Find(path);
  hid::OpenFailure failure = hid::OpenFailure::Other;
  if (entry != nullptr) {
    failure = entry->scripted.openFailure;
    if (failure == hid::OpenFailure::None && mode == hid::OpenMode::Overlapped) {
      failure = entry->scripted.overlappedOpenFailure;
    }
  }
  if (failure != hid::OpenFailure::None) {
    calls_.push_back(call + (failure == hid::OpenFailure::AccessDenied ? " denied" : " failed"));
    return hid::DeviceHandle::Failed(failure);
  }
  const std::intptr_t native = nextNative_++;
  open_[native] = {entry->plugId, path};
  calls_.push_back(call + " " + HandleName(native));
  return AdoptHandle(native);
}

std::optional<hid::DeviceIds> FakeHidPort::ReadAttributes(const hid::DeviceHandle& handle) {
  const FakeInterface* scripted = Resolve(handle, "attributes");
  if (scripted == nullptr || !scripted->attributesReadable) return std::nullopt;
  return scripted->ids;
}

std::optional<std::uint16_t> FakeHidPort::ReadOutputReportLength(const hid::DeviceHandle& handle) {
  const FakeInterface* scripted = Resolve(handle, "caps");
  if (scripted == nullptr) return std::nullopt;
  return scripted->outputReportLength;
}

bool FakeHidPort::Write(const hid::DeviceHandle& handle, std::span<const std::uint8_t> report) {
  const FakeInterface* scripted = Resolve(handle, "write");
  calls_.back() += " " + HexBytes(report);
  if (const auto open = open_.find(handle.native()); handle.valid() && open != open_.end()) {
    writes_.push_back({open->second.path, {report.begin(), report.end()}});
  }
  if (scripted == nullptr || scripted->writesFail) return false;
  if (scripted->outputReportLength && *scripted->outputReportLength != report.size()) return false;
  if (scripted->device != nullptr) scripted->device->ApplyReport(report);
  return true;
}

bool FakeHidPort::CloseNative(std::intptr_t native) {
  calls_.push_back("close " + HandleName(native));
  if (open_.erase(native) == 0) {
    misuse_.push_back((closed_.count(native) != 0 ? "closed twice: " : "closed, never opened: ") + HandleName(native));
    return false;
  }
  closed_.insert(native);
  return true;
}

const FakeInterface* FakeHidPort::Resolve(const hid::DeviceHandle& handle, const char* what) {
  const std::string call = std::string(what) + " ";
  if (!handle.valid()) {
    calls_.push_back(call + "invalid");
    misuse_.push_back(call + "on an invalid handle");
    return nullptr;
  }
  calls_.push_back(call + HandleName(handle.native()));
  const auto open = open_.find(handle.native());
  if (open == open_.end()) {
    misuse_.push_back(call + "on a closed handle " + HandleName(handle.native()));
    return nullptr;
  }
  const auto entry = std::find_if(plugged_.begin(), plugged_.end(),
                                  [&](const Plugged& candidate) { return candidate.plugId == open->second.plugId; });
  return entry == plugged_.end() ? nullptr : &entry->scripted;
}

FakeHidPort::Plugged* FakeHidPort::Find(const std::string& path) {
  const auto entry = std::find_if(plugged_.begin(), plugged_.end(),
                                  [&](const Plugged& candidate) { return candidate.scripted.path == path; });
  return entry == plugged_.end() ? nullptr : &*entry;
}

}  // namespace kestrova::testing
