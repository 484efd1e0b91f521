#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "hid/hid_port.h"
#include "hid/wanted_id.h"

namespace kestrova::hid {

// The connection to the foot switch: finds it by vendor and product ID among
// the HID interfaces the port lists, keeps its two handles and its output
// report length, and writes frame text to it as output reports.
class DeviceLink {
 public:
  // Called at the end of every discovery run with its result, so the window
  // can show the state and enable or grey out its device controls.
  using DiscoveryObserver = std::function<void(bool found)>;

  DeviceLink(HidPort& port, DiscoveryObserver onDiscovery);

  // The wanted IDs as typed (hexadecimal text, surrounding spaces removed by
  // the caller). Read again by every discovery run.
  void SetWantedIds(std::string_view vendorText, std::string_view productText);

  // One discovery run; true when the device was found and opened. The first
  // interface in enumeration order whose IDs match wins; one that cannot be
  // opened or read counts as 0 / 0. While the device stays connected the new
  // pair of handles is opened before the pair it replaces is closed; a run
  // that does not find the device closes the pair it held. When the matched
  // interface does not open (only possible with both wanted IDs zero), the
  // write handle held before stays, if there is one.
  bool FindTheHid();

  // Sends frame text as one output report. Does nothing before the device
  // was first found; runs discovery once first when it has been lost. A
  // device that declares no output report (length 0) gets nothing.
  void WriteFrame(std::string_view frameText);

  // Closes the handle that reports are written to / the read handle.
  // Closing one that is not open does nothing.
  void CloseHidHandle();
  void CloseReadHandle();

  bool deviceConnected() const { return deviceConnected_; }
  bool deviceFoundOnce() const { return deviceFoundOnce_; }
  // The path of the candidate examined last; after a match, the device's.
  const std::string& interfacePath() const { return interfacePath_; }
  std::uint16_t outputReportLength() const { return outputReportLength_; }
  bool hidHandleOpen() const { return hidHandle_.valid(); }
  bool readHandleOpen() const { return readHandle_.valid(); }
  const DeviceHandle& hidHandle() const { return hidHandle_; }
  const DeviceHandle& readHandle() const { return readHandle_; }
  // True when the last run saw an interface that announced the wanted IDs
  // but refused to open for lack of permission.
  bool accessDeniedThisRun() const { return accessDeniedThisRun_; }

 private:
  bool WorthOpening(const HidInterface& candidate) const;
  DeviceIds ReadCandidateIds(const HidInterface& candidate, DeviceHandle& handle);
  void AdoptMatch(const HidInterface& device, DeviceHandle candidateHandle);

  HidPort& port_;
  DiscoveryObserver onDiscovery_;
  WantedIds wanted_;
  bool deviceConnected_ = false;
  bool deviceFoundOnce_ = false;
  bool accessDeniedThisRun_ = false;
  std::string interfacePath_;
  std::uint16_t outputReportLength_ = 0;
  DeviceHandle hidHandle_;
  DeviceHandle readHandle_;
};

}  // namespace kestrova::hid
