#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "hid/hid_port.h"

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

  // One discovery run; true when the device was found and opened.
  bool FindTheHid();

  // Sends frame text as one output report. Does nothing before the device
  // was first found; runs discovery once first when it has been lost.
  void WriteFrame(std::string_view frameText);

  // Closes the handle that reports are written to / the read handle.
  // Closing one that is not open does nothing.
  void CloseHidHandle();
  void CloseReadHandle();

  bool deviceConnected() const { return deviceConnected_; }
  bool deviceFoundOnce() const { return deviceFoundOnce_; }
  const std::string& interfacePath() const { return interfacePath_; }
  std::uint16_t outputReportLength() const { return outputReportLength_; }
  bool hidHandleOpen() const { return hidHandle_.valid(); }
  bool readHandleOpen() const { return readHandle_.valid(); }
  const DeviceHandle& hidHandle() const { return hidHandle_; }

 private:
  HidPort& port_;
  DiscoveryObserver onDiscovery_;
  std::string wantedVendorText_;
  std::string wantedProductText_;
  bool deviceConnected_ = false;
  bool deviceFoundOnce_ = false;
  std::string interfacePath_;
  std::uint16_t outputReportLength_ = 0;
  DeviceHandle hidHandle_;
  DeviceHandle readHandle_;
};

}  // namespace kestrova::hid
