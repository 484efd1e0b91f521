#pragma once

#include <cstdint>
#include <string>

#include "device/switch_model.h"
#include "fake_hid_port.h"
#include "hid/hid_port.h"

namespace kestrova::testing {

// The foot switch as the host sees it: a keyboard interface that it plays
// its keys through, listed first, and the vendor interface that takes the
// configuration reports, both under the same vendor and product ID. Reports
// that reach the vendor interface land in model().
class SimulatedFootSwitch {
 public:
  static constexpr hid::DeviceIds kIds{0x2704, 0x2018};
  static constexpr std::uint16_t kOutputReportLength = 9;

  explicit SimulatedFootSwitch(std::string name = "footswitch");
  // The model is referred to by the plugged interfaces.
  SimulatedFootSwitch(const SimulatedFootSwitch&) = delete;
  SimulatedFootSwitch& operator=(const SimulatedFootSwitch&) = delete;

  void PlugInto(FakeHidPort& port);
  void UnplugFrom(FakeHidPort& port);

  std::string keyboardPath() const { return name_ + "/keyboard"; }
  std::string vendorPath() const { return name_ + "/vendor"; }
  const device::SwitchModel& model() const { return model_; }

 private:
  std::string name_;
  device::SwitchModel model_;
};

}  // namespace kestrova::testing
