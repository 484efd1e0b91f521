#include "simulated_foot_switch.h"

#include <utility>

namespace kestrova::testing {

SimulatedFootSwitch::SimulatedFootSwitch(std::string name) : name_(std::move(name)) {}

void SimulatedFootSwitch::PlugInto(FakeHidPort& port) {
  FakeInterface keyboard;
  keyboard.path = keyboardPath();
  keyboard.ids = kIds;
  keyboard.idsWithoutOpening = kIds;
  keyboard.keyboardOrMouseOnly = true;
  // Opens and takes its LED report, so a discovery that wrongly picks it
  // shows up as frames that never reach the model.
  keyboard.outputReportLength = 2;
  port.Plug(keyboard);

  FakeInterface vendor;
  vendor.path = vendorPath();
  vendor.ids = kIds;
  vendor.idsWithoutOpening = kIds;
  vendor.outputReportLength = kOutputReportLength;
  vendor.device = &model_;
  port.Plug(vendor);
}

void SimulatedFootSwitch::UnplugFrom(FakeHidPort& port) {
  port.Unplug(keyboardPath());
  port.Unplug(vendorPath());
}

}  // namespace kestrova::testing
