#include "hid/device_link.h"

#include <utility>
#include <vector>

#include "hid/report_encoding.h"

namespace kestrova::hid {

DeviceLink::DeviceLink(HidPort& port, DiscoveryObserver onDiscovery)
    : port_(port), onDiscovery_(std::move(onDiscovery)) {}

void DeviceLink::SetWantedIds(std::string_view vendorText, std::string_view productText) {
  wanted_ = WantedIds::Parse(vendorText, productText);
}

bool DeviceLink::WorthOpening(const HidInterface& candidate) const {
  if (candidate.keyboardOrMouseOnly) return false;
  // Both zero: an interface counts by what it reads, so each one is opened.
  if (wanted_.bothZero()) return true;
  if (!wanted_.usable()) return false;
  // Opening another device can wake it or disturb its owner; when its IDs
  // are known not to match, skipping it gives the same outcome.
  return !candidate.idsWithoutOpening || wanted_.Matches(*candidate.idsWithoutOpening);
}

DeviceIds DeviceLink::ReadCandidateIds(const HidInterface& candidate, DeviceHandle& handle) {
  // Zero before every read: an interface that does not open or whose
  // attributes cannot be read counts as vendor 0, product 0.
  DeviceIds ids{};
  if (!WorthOpening(candidate)) return ids;
  handle = port_.Open(candidate.path, OpenMode::ReadWrite);
  if (!handle.valid()) {
    if (handle.failure() == OpenFailure::AccessDenied && candidate.idsWithoutOpening &&
        wanted_.Matches(*candidate.idsWithoutOpening)) {
      accessDeniedThisRun_ = true;
    }
    return ids;
  }
  if (const auto read = port_.ReadAttributes(handle)) ids = *read;
  return ids;
}

void DeviceLink::AdoptMatch(const HidInterface& device, DeviceHandle candidateHandle) {
  // Capabilities of an interface that did not open cannot be read; the
  // length read from the device last time stays.
  if (candidateHandle.valid()) {
    if (const auto length = port_.ReadOutputReportLength(candidateHandle)) {
      outputReportLength_ = *length;
    }
  }
  DeviceHandle newReadHandle;
  if (!device.keyboardOrMouseOnly) newReadHandle = port_.Open(device.path, OpenMode::Overlapped);

  // Only now are the old handles let go (by the move assignments), so a
  // device that stays connected never sees its last handle close between
  // two runs.
  if (candidateHandle.valid()) hidHandle_ = std::move(candidateHandle);
  readHandle_ = std::move(newReadHandle);
}

bool DeviceLink::FindTheHid() {
  deviceConnected_ = false;
  accessDeniedThisRun_ = false;

  const std::vector<HidInterface> candidates = port_.EnumerateInterfaces();
  for (const HidInterface& candidate : candidates) {
    interfacePath_ = candidate.path;
    DeviceHandle handle;
    if (wanted_.Matches(ReadCandidateIds(candidate, handle))) {
      deviceConnected_ = true;
      deviceFoundOnce_ = true;
      AdoptMatch(candidate, std::move(handle));
      break;
    }
    handle.Close();
  }

  if (!deviceConnected_) {
    // Nothing left to write to: give the held pair back now instead of
    // keeping handles to a device that is gone or no longer wanted.
    hidHandle_.Close();
    readHandle_.Close();
  }
  if (onDiscovery_) onDiscovery_(deviceConnected_);
  return deviceConnected_;
}

void DeviceLink::WriteFrame(std::string_view frameText) {
  if (!deviceConnected_) {
    if (!deviceFoundOnce_) return;
    if (!FindTheHid()) return;
  }
  const std::vector<std::uint8_t> report = EncodeReport(frameText, outputReportLength_);
  if (report.empty() || !hidHandle_.valid()) return;
  // Whether the report went out is not looked at: no caller can act on it.
  port_.Write(hidHandle_, report);
}

void DeviceLink::CloseHidHandle() { hidHandle_.Close(); }

void DeviceLink::CloseReadHandle() { readHandle_.Close(); }

}  // namespace kestrova::hid
